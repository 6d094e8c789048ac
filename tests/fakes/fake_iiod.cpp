#include "fakes/fake_iiod.h"

#include <arpa/inet.h>
#include <iio.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>

#ifndef LV_FAKE_BOARDS_DIR
#error "LV_FAKE_BOARDS_DIR must name the folder of the board fixtures"
#endif

namespace lv_fake {

namespace {

std::string Key(const std::string& device, const std::string& kind, const std::string& channel,
                const std::string& attr) {
  return device + "|" + kind + "|" + channel + "|" + attr;
}

std::vector<std::string> Split(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  std::string w;
  while (in >> w) {
    words.push_back(w);
  }
  return words;
}

// Reads a socket line by line and in exact byte counts.
class Reader {
 public:
  explicit Reader(int fd) : fd_(fd) {}

  // One line without its "\r\n" / "\n"; false at end of stream.
  bool Line(std::string& out) {
    for (;;) {
      const size_t nl = buf_.find('\n');
      if (nl != std::string::npos) {
        out = buf_.substr(0, nl);
        buf_.erase(0, nl + 1);
        if (!out.empty() && out.back() == '\r') {
          out.pop_back();
        }
        return true;
      }
      if (!Fill()) {
        return false;
      }
    }
  }

  bool Bytes(size_t n, std::string& out) {
    while (buf_.size() < n) {
      if (!Fill()) {
        return false;
      }
    }
    out = buf_.substr(0, n);
    buf_.erase(0, n);
    return true;
  }

 private:
  bool Fill() {
    char chunk[65536];
    const ssize_t got = ::recv(fd_, chunk, sizeof chunk, 0);
    if (got <= 0) {
      return false;
    }
    buf_.append(chunk, static_cast<size_t>(got));
    return true;
  }

  int fd_;
  std::string buf_;
};

}  // namespace

std::string FakeEvent::ToString() const {
  std::ostringstream out;
  out << kind;
  if (kind == "WRITE" || kind == "READ") {
    out << ' ' << device << ' ' << attrKind;
    if (!channel.empty()) {
      out << ' ' << channel;
    }
    out << ' ' << attr;
    if (kind == "WRITE") {
      out << ' ' << value;
    }
  } else if (kind == "OPEN") {
    out << ' ' << device << ' ' << number << ' ' << value << (cyclic ? " CYCLIC" : "");
  } else if (kind == "WRITEBUF" || kind == "READBUF") {
    out << ' ' << device << ' ' << number;
  } else if (kind == "TIMEOUT") {
    out << ' ' << number;
  } else if (kind == "CLOSE") {
    out << ' ' << device;
  } else if (kind == "OTHER") {
    out << ' ' << value;
  }
  return out.str();
}

std::string BoardFixturePath(const std::string& family) {
  return std::string(LV_FAKE_BOARDS_DIR) + "/" + family + ".xml";
}

std::string ReadBoardFixture(const std::string& family) {
  std::ifstream in(BoardFixturePath(family), std::ios::binary);
  if (!in) {
    throw std::runtime_error("no board fixture " + family);
  }
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::string WithoutDevice(const std::string& xml, const std::string& deviceName) {
  const std::regex device("<device id=\"[^\"]*\" name=\"" + deviceName + "\" >[\\s\\S]*?</device>\\n?");
  return std::regex_replace(xml, device, "");
}

std::string WithoutDevices(const std::string& xml) {
  const std::regex device("<device [\\s\\S]*?</device>\\n?");
  return std::regex_replace(xml, device, "");
}

FakeIiod::FakeIiod(const std::string& xml) {
  model_ = iio_create_xml_context_mem(xml.c_str(), xml.size());
  if (model_ == nullptr) {
    throw std::runtime_error("FakeIiod: libiio rejected the board XML");
  }
  // libiio writes the context back with its own DOCTYPE, which its client validates against.
  xml_ = iio_context_get_xml(model_);
}

FakeIiod::~FakeIiod() {
  Stop();
  if (model_ != nullptr) {
    iio_context_destroy(model_);
  }
}

int FakeIiod::Start() {
  listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listenFd_ < 0) {
    throw std::runtime_error("FakeIiod: socket failed");
  }
  const int one = 1;
  ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(listenFd_, 16) != 0) {
    throw std::runtime_error("FakeIiod: bind/listen failed");
  }
  socklen_t len = sizeof addr;
  ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len);
  port_ = ntohs(addr.sin_port);
  stopping_ = false;
  acceptor_ = std::thread([this] { AcceptLoop(); });
  return port_;
}

void FakeIiod::Stop() {
  if (!acceptor_.joinable()) {
    return;
  }
  stopping_ = true;
  acceptor_.join();
  ::close(listenFd_);
  listenFd_ = -1;
  std::vector<Connection*> conns;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    conns.swap(connections_);
  }
  for (Connection* c : conns) {
    ::shutdown(c->fd, SHUT_RDWR);
  }
  for (Connection* c : conns) {
    c->thread.join();
    ::close(c->fd);
    delete c;
  }
}

std::string FakeIiod::Uri() const { return "ip:127.0.0.1:" + std::to_string(port_); }
std::string FakeIiod::Address() const { return "127.0.0.1:" + std::to_string(port_); }

void FakeIiod::AcceptLoop() {
  while (!stopping_) {
    pollfd p{listenFd_, POLLIN, 0};
    if (::poll(&p, 1, 50) <= 0) {
      continue;
    }
    const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) {
      continue;
    }
    auto* conn = new Connection;
    conn->fd = fd;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      conn->number = nextConnection_++;
      connections_.push_back(conn);
    }
    conn->thread = std::thread([this, conn] { Serve(conn); });
  }
}

void FakeIiod::Record(const FakeEvent& e) {
  std::lock_guard<std::mutex> lock(mutex_);
  events_.push_back(e);
}

bool FakeIiod::Reply(int fd, const std::string& text) {
  size_t sent = 0;
  while (sent < text.size()) {
    const ssize_t n = ::send(fd, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) {
      return false;
    }
    sent += static_cast<size_t>(n);
  }
  return true;
}

const char* FakeIiod::DeviceName(const std::string& id) const {
  const iio_device* dev = iio_context_find_device(model_, id.c_str());
  if (dev == nullptr) {
    return nullptr;
  }
  const char* name = iio_device_get_name(dev);
  return name != nullptr ? name : iio_device_get_id(dev);
}

void FakeIiod::Serve(Connection* conn) {
  const int fd = conn->fd;
  Reader in(fd);
  FakeEvent connect;
  connect.kind = "CONNECT";
  connect.connection = conn->number;
  Record(connect);
  auto integer = [&](long long v) { return Reply(fd, std::to_string(v) + "\n"); };
  std::string openMask;  // mask of the buffer opened on this connection
  std::string openDevice;

  std::string line;
  while (in.Line(line)) {
    const std::vector<std::string> w = Split(line);
    if (w.empty()) {
      continue;  // the client sends "\r\nEXIT\r\n"
    }
    FakeEvent e;
    e.connection = conn->number;
    e.kind = w[0];
    int stall = 0;
    bool drop = false;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      auto s = stalls_.find(w[0]);
      stall = s != stalls_.end() ? s->second : 0;
      drop = dropOn_ == w[0];
    }
    auto stallAndCheckDrop = [&]() {
      if (stall > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(stall));
      }
      return !drop;
    };

    if (w[0] == "EXIT") {
      Record(e);
      break;
    }
    if (w[0] == "PRINT" || w[0] == "ZPRINT" || w[0] == "VERSION" || w[0] == "TIMEOUT") {
      if (w[0] == "TIMEOUT" && w.size() > 1) {
        e.number = std::atoll(w[1].c_str());
      }
      Record(e);
      if (!stallAndCheckDrop()) {
        break;
      }
      if (w[0] == "PRINT") {
        Reply(fd, std::to_string(xml_.size()) + "\n" + xml_ + "\n");
      } else if (w[0] == "ZPRINT") {
        integer(-22);
      } else if (w[0] == "VERSION") {
        Reply(fd, "0.24.fakebrd\n");
      } else {
        integer(0);
      }
      continue;
    }
    if ((w[0] == "WRITE" || w[0] == "READ") && w.size() >= 3) {
      const char* name = DeviceName(w[1]);
      size_t i = 2;
      e.attrKind = "DEV";
      if (w[i] == "DEBUG" || w[i] == "BUFFER") {
        e.attrKind = w[i++];
      } else if ((w[i] == "INPUT" || w[i] == "OUTPUT") && i + 1 < w.size()) {
        e.attrKind = w[i++];
        e.channel = w[i++];
      }
      const bool isWrite = w[0] == "WRITE";
      if (i >= w.size() || (isWrite && i + 1 >= w.size())) {
        e.kind = "OTHER";
        e.value = line;
        Record(e);
        integer(-22);
        continue;
      }
      e.attr = w[i++];
      std::string payload;
      if (isWrite) {
        const size_t len = static_cast<size_t>(std::atoll(w[i].c_str()));
        if (!in.Bytes(len, payload)) {
          break;
        }
        e.number = static_cast<long long>(len);
        e.value = payload;
        while (!e.value.empty() && e.value.back() == '\0') {
          e.value.pop_back();
        }
      }
      e.device = name != nullptr ? name : w[1];
      Record(e);
      if (!stallAndCheckDrop()) {
        break;
      }
      if (name == nullptr) {
        integer(-19);
        continue;
      }
      const std::string key = Key(e.device, e.attrKind, e.channel, e.attr);
      if (isWrite) {
        bool shortReply;
        {
          std::lock_guard<std::mutex> lock(mutex_);
          values_[key] = e.value;
          shortReply = shortWriteAttr_ == e.attr;
        }
        integer(shortReply ? static_cast<long long>(payload.size()) - 1 : static_cast<long long>(payload.size()));
      } else {
        std::string v;
        {
          std::lock_guard<std::mutex> lock(mutex_);
          auto it = values_.find(key);
          v = it != values_.end() ? it->second : "0";
        }
        v.push_back('\0');  // a real board counts the terminating NUL
        Reply(fd, std::to_string(v.size()) + "\n" + v + "\n");
      }
      continue;
    }
    if (w[0] == "OPEN" && w.size() >= 4) {
      const char* name = DeviceName(w[1]);
      e.device = name != nullptr ? name : w[1];
      e.number = std::atoll(w[2].c_str());
      e.value = w[3];
      e.cyclic = w.size() >= 5 && w[4] == "CYCLIC";
      Record(e);
      if (!stallAndCheckDrop()) {
        break;
      }
      int status = 0;
      {
        std::lock_guard<std::mutex> lock(mutex_);
        if (name == nullptr) {
          status = -19;
        } else if (openError_ != 0) {
          status = openError_;
        } else if (cyclicOpen_[e.device]) {
          status = -16;
        } else if (e.cyclic) {
          cyclicOpen_[e.device] = true;
        }
      }
      if (status == 0) {
        openMask = e.value;
        openDevice = e.device;
      }
      integer(status);
      continue;
    }
    if ((w[0] == "WRITEBUF" || w[0] == "READBUF") && w.size() >= 3) {
      const char* name = DeviceName(w[1]);
      e.device = name != nullptr ? name : w[1];
      e.number = std::atoll(w[2].c_str());
      Record(e);
      if (!stallAndCheckDrop()) {
        break;
      }
      if (openDevice.empty() || openDevice != e.device) {
        integer(-9);
        continue;
      }
      if (w[0] == "WRITEBUF") {
        integer(0);
        std::string data;
        if (!in.Bytes(static_cast<size_t>(e.number), data)) {
          break;
        }
        {
          std::lock_guard<std::mutex> lock(mutex_);
          pushes_[e.device].emplace_back(data.begin(), data.end());
        }
        integer(e.number);
      } else {
        Reply(fd, std::to_string(e.number) + "\n" + openMask + "\n" + std::string(static_cast<size_t>(e.number), '\0'));
      }
      continue;
    }
    if (w[0] == "CLOSE" && w.size() >= 2) {
      const char* name = DeviceName(w[1]);
      e.device = name != nullptr ? name : w[1];
      Record(e);
      if (!stallAndCheckDrop()) {
        break;
      }
      {
        std::lock_guard<std::mutex> lock(mutex_);
        cyclicOpen_[e.device] = false;
      }
      openDevice.clear();
      integer(0);
      continue;
    }
    e.kind = "OTHER";
    e.value = line;
    Record(e);
    integer(-22);
  }
  if (!openDevice.empty()) {
    // A buffer connection that ends without CLOSE (after a cancel) releases the device.
    std::lock_guard<std::mutex> lock(mutex_);
    cyclicOpen_[openDevice] = false;
  }
  FakeEvent eof;
  eof.kind = "EOF";
  eof.connection = conn->number;
  Record(eof);
  ::shutdown(fd, SHUT_RDWR);
}

std::vector<FakeEvent> FakeIiod::Events() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return events_;
}

std::vector<std::string> FakeIiod::EventStrings() const {
  std::vector<std::string> out;
  for (const auto& e : Events()) {
    out.push_back(e.ToString());
  }
  return out;
}

std::vector<std::string> FakeIiod::EventStrings(const std::vector<std::string>& kinds) const {
  std::vector<std::string> out;
  for (const auto& e : Events()) {
    for (const auto& k : kinds) {
      if (e.kind == k) {
        out.push_back(e.ToString());
        break;
      }
    }
  }
  return out;
}

void FakeIiod::ClearEvents() {
  std::lock_guard<std::mutex> lock(mutex_);
  events_.clear();
}

bool FakeIiod::WaitForEvent(const std::string& kind, int timeoutMs) const {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      for (const auto& e : events_) {
        if (e.kind == kind) {
          return true;
        }
      }
    }
    if (std::chrono::steady_clock::now() >= end) {
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

std::string FakeIiod::Value(const std::string& device, const std::string& attrKind, const std::string& channel,
                            const std::string& attr) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = values_.find(Key(device, attrKind, channel, attr));
  return it != values_.end() ? it->second : std::string();
}

void FakeIiod::SetValue(const std::string& device, const std::string& attrKind, const std::string& channel,
                        const std::string& attr, const std::string& value) {
  std::lock_guard<std::mutex> lock(mutex_);
  values_[Key(device, attrKind, channel, attr)] = value;
}

std::vector<std::vector<uint8_t>> FakeIiod::Pushes(const std::string& device) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = pushes_.find(device);
  return it != pushes_.end() ? it->second : std::vector<std::vector<uint8_t>>{};
}

void FakeIiod::SetShortWriteReply(const std::string& attr) {
  std::lock_guard<std::mutex> lock(mutex_);
  shortWriteAttr_ = attr;
}

void FakeIiod::SetOpenError(int negativeErrno) {
  std::lock_guard<std::mutex> lock(mutex_);
  openError_ = negativeErrno;
}

void FakeIiod::SetStall(const std::string& command, int ms) {
  std::lock_guard<std::mutex> lock(mutex_);
  stalls_[command] = ms;
}

void FakeIiod::SetDropOn(const std::string& command) {
  std::lock_guard<std::mutex> lock(mutex_);
  dropOn_ = command;
}

}  // namespace lv_fake
