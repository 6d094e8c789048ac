// A fake transceiver board for tests: a small server that speaks the IIO
// daemon's text protocol on 127.0.0.1, so that the real libiio client (network
// backend) is exercised end to end without hardware.
//
// The board's model comes from an XML fixture parsed by libiio itself, so the
// fake numbers channels and sizes samples exactly as the client does. Every
// request is recorded in one ordered event log before it is answered; because
// the client waits for each answer, the log order is the caller's order.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct iio_context;

namespace lv_fake {

// One recorded request.
struct FakeEvent {
  std::string kind;      // CONNECT PRINT ZPRINT VERSION TIMEOUT WRITE READ OPEN WRITEBUF READBUF CLOSE EXIT EOF OTHER
  std::string device;    // device name ("ad9361-phy"); empty when none
  std::string attrKind;  // WRITE/READ: DEV, DEBUG, BUFFER, INPUT or OUTPUT
  std::string channel;   // channel id ("altvoltage0"); empty when none
  std::string attr;      // attribute name
  std::string value;     // WRITE: the bytes written, without a trailing NUL; OPEN: the mask
  long long number = 0;  // TIMEOUT ms, OPEN samples, WRITEBUF/READBUF bytes
  bool cyclic = false;   // OPEN
  int connection = 0;    // which connection carried it (1, 2, ...)

  // "WRITE ad9361-phy OUTPUT altvoltage0 frequency 2400000000", "OPEN cf-ad9361-dds-core-lpc 2000 0000000f CYCLIC", ...
  std::string ToString() const;
};

// A board fixture file in tests/fakes/boards (ad9361, ad9371, adrv9009,
// ad9081, ad9082, fmcdaq2, ad9172).
std::string BoardFixturePath(const std::string& family);
std::string ReadBoardFixture(const std::string& family);
// The fixture without the device of that name (fault injection).
std::string WithoutDevice(const std::string& xml, const std::string& deviceName);
// The fixture with no devices at all.
std::string WithoutDevices(const std::string& xml);

class FakeIiod {
 public:
  // Parses the XML with libiio; throws std::runtime_error when it is not valid.
  explicit FakeIiod(const std::string& xml);
  ~FakeIiod();
  FakeIiod(const FakeIiod&) = delete;
  FakeIiod& operator=(const FakeIiod&) = delete;

  // Binds 127.0.0.1 on an ephemeral port and starts accepting. Returns the port.
  int Start();
  // Closes every connection and joins every thread.
  void Stop();
  int Port() const { return port_; }
  // "ip:127.0.0.1:PORT", and "127.0.0.1:PORT" as a user would type it.
  std::string Uri() const;
  std::string Address() const;

  // The event log.
  std::vector<FakeEvent> Events() const;
  std::vector<std::string> EventStrings() const;
  // Only the events of the given kinds, as strings.
  std::vector<std::string> EventStrings(const std::vector<std::string>& kinds) const;
  void ClearEvents();
  // Waits up to timeoutMs until an event of the kind has been recorded.
  bool WaitForEvent(const std::string& kind, int timeoutMs) const;

  // Stored attribute values (what the last WRITE left, or what the test set).
  // Key: device name, attrKind, channel id, attribute.
  std::string Value(const std::string& device, const std::string& attrKind, const std::string& channel,
                    const std::string& attr) const;
  void SetValue(const std::string& device, const std::string& attrKind, const std::string& channel,
                const std::string& attr, const std::string& value);

  // Every block pushed into the device's buffers, in order.
  std::vector<std::vector<uint8_t>> Pushes(const std::string& device) const;

  // Fault injection.
  void SetShortWriteReply(const std::string& attr);  // a write of this attribute answers one byte short
  void SetOpenError(int negativeErrno);              // OPEN answers this (0: accept)
  void SetStall(const std::string& command, int ms); // wait before answering this command
  void SetDropOn(const std::string& command);        // close the connection when this command arrives

 private:
  struct Connection {
    int fd = -1;
    int number = 0;
    std::thread thread;
  };

  void AcceptLoop();
  void Serve(Connection* conn);
  void Record(const FakeEvent& e);
  bool Reply(int fd, const std::string& text);
  const char* DeviceName(const std::string& id) const;

  std::string xml_;       // served to PRINT
  iio_context* model_ = nullptr;
  int listenFd_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::thread acceptor_;

  mutable std::mutex mutex_;  // guards everything below
  std::vector<Connection*> connections_;
  std::vector<FakeEvent> events_;
  std::map<std::string, std::string> values_;
  std::map<std::string, std::vector<std::vector<uint8_t>>> pushes_;
  std::map<std::string, bool> cyclicOpen_;
  std::string shortWriteAttr_;
  int openError_ = 0;
  std::map<std::string, int> stalls_;
  std::string dropOn_;
  int nextConnection_ = 1;
};

}  // namespace lv_fake
