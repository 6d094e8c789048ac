// Platform-internal: the Qt widget of the IPv4 address control
// (ip_address.h). Only platform/gui includes this header.
#pragma once

#include <QWidget>
#include <array>
#include <functional>

class QLabel;
class QLineEdit;

namespace lv::gui_internal {

class IpAddressWidget : public QWidget {
 public:
  // A field's value, or kBlank.
  static constexpr int kBlank = -1;
  using Values = std::array<int, 4>;

  explicit IpAddressWidget(QWidget* parent);
  ~IpAddressWidget() override;

  // Called once per change of the fields (typed, clamped or set).
  std::function<void()> changed;

  Values GetValues() const;
  // Sets every field (kBlank blanks one; others are clamped into the
  // field's range); reports one change when anything changed.
  void SetValues(const Values& values);
  // The dotted text ("" when blank, blank fields as 0), and dotted text in.
  QString Text() const;
  void SetText(const QString& text);
  bool SetRange(int field, int low, int high);

  // The field that has the input, and moving it (the text selected, or the
  // cursor at a position: -1 its end).
  int InputField() const { return current_; }
  void FocusField(int field, bool selectAll, int cursor = -1);
  QLineEdit* Field(int i) const { return fields_[static_cast<size_t>(i)]; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  int IndexOf(QObject* o) const;
  bool OnKey(int field, QKeyEvent* key);
  void OnEdited(int field);
  // Clamps a finished field into its range and drops leading zeros.
  void Complete(int field);
  void LayOut();
  void FieldChanged();

  QLineEdit* backdrop_ = nullptr;
  std::array<QLineEdit*, 4> fields_{};
  std::array<QLabel*, 3> dots_{};
  std::array<int, 4> low_{0, 0, 0, 0};
  std::array<int, 4> high_{255, 255, 255, 255};
  int current_ = 0;
  int quiet_ = 0;          // > 0 while several fields change as one
  bool quietChanged_ = false;
  bool justAdvanced_ = false;  // the input moved on by a third digit; a dot now is that move's
  bool dying_ = false;
};

}  // namespace lv::gui_internal
