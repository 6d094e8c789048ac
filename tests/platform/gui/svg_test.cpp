// The SVG device context: a recorded test card replayed into a document that
// is well-formed and holds every text, line, fill, hatch and picture.
#include <QString>
#include <QXmlStreamReader>
#include <fstream>
#include <map>
#include <string>

#include "dc_fixture.h"
#include "platform/gui/recording_dc.h"
#include "platform/gui/svg_dc.h"
#include "support/test_card.h"

namespace {

using lv::DcOp;

class Svg : public lv_test::GuiTest {};

TEST_F(Svg, RecordedTestCardBecomesAWellFormedDocument) {
  lv::RecordingDc rec(lv::Size{lv_test::kTestCardWidth, lv_test::kTestCardHeight});
  lv_test::DrawTestCard(rec);
  lv::SvgDc svg(rec.DeviceSize());
  rec.Replay(svg);
  const std::string doc = svg.Document();

  std::map<std::string, int> elements;
  QXmlStreamReader xml(QString::fromStdString(doc));
  std::string firstFamily;
  while (!xml.atEnd()) {
    if (xml.readNext() == QXmlStreamReader::StartElement) {
      const std::string name = xml.name().toString().toStdString();
      ++elements[name];
      if (name == "text" && firstFamily.empty()) {
        firstFamily = xml.attributes().value("font-family").toString().toStdString();
      }
    }
  }
  ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_EQ(elements["svg"], 1);
  EXPECT_EQ(static_cast<size_t>(elements["text"]), rec.Count(DcOp::kTextOut));
  EXPECT_EQ(static_cast<size_t>(elements["polyline"]), rec.Count(DcOp::kPolyline));
  EXPECT_EQ(static_cast<size_t>(elements["image"]), rec.Count(DcOp::kStretchDib) + rec.Count(DcOp::kBitBlt));
  EXPECT_EQ(elements["pattern"], 8);  // four hatches, transparent and opaque
  EXPECT_GE(static_cast<size_t>(elements["line"]), rec.Count(DcOp::kLineTo));
  EXPECT_EQ(firstFamily, "Liberation Sans");
  EXPECT_NE(doc.find("rotate(-90)"), std::string::npos);

  const std::string path = lv_test::GalleryFolder("platform") + "/test_card.svg";
  std::ofstream(path, std::ios::binary) << doc;
}

TEST_F(Svg, TextIsEscapedAndPlacedByItsAlignment) {
  lv::SvgDc svg(lv::Size{100, 50});
  svg.SetTextAlign(lv::TextAlign{lv::HAlign::kRight, lv::VAlign::kBaseline});
  svg.TextOut(90, 40, L"a<b & \"c\"");
  const std::string doc = svg.Document();
  EXPECT_NE(doc.find("a&lt;b &amp; &quot;c&quot;"), std::string::npos);
  const int width = svg.GetTextExtent(L"a<b & \"c\"").cx;
  EXPECT_NE(doc.find("<text x=\"" + std::to_string(-width) + "\" y=\"0\""), std::string::npos) << doc;
  EXPECT_NE(doc.find("translate(90 40)"), std::string::npos);
}

}  // namespace
