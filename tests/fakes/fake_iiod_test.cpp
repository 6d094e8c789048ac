// The fake board against the real libiio client and Debian's iio tools.
#include <iio.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fakes/fake_iiod.h"

namespace {

using lv_fake::FakeIiod;

// libiio writes into the address it is given: always hand it a private copy.
iio_context* Connect(const FakeIiod& fake) {
  // Address() returns a new string each call: take one copy, then iterate it.
  const std::string address = fake.Address();
  std::vector<char> host(address.begin(), address.end());
  host.push_back('\0');
  return iio_create_network_context(host.data());
}

struct ContextCloser {
  void operator()(iio_context* c) const { iio_context_destroy(c); }
};
using Context = std::unique_ptr<iio_context, ContextCloser>;

std::string RunCommand(const std::string& command, int* status) {
  std::string out;
  FILE* p = popen((command + " 2>&1").c_str(), "r");
  if (p == nullptr) {
    *status = -1;
    return out;
  }
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) {
    out.append(buf, n);
  }
  *status = pclose(p);
  return out;
}

class FakeBoardPerFamily : public ::testing::TestWithParam<const char*> {};

TEST_P(FakeBoardPerFamily, DebianIioInfoSeesEveryDevice) {
  FakeIiod fake(lv_fake::ReadBoardFixture(GetParam()));
  fake.Start();
  int status = 0;
  const std::string out = RunCommand("iio_info -u " + fake.Uri(), &status);
  ASSERT_EQ(status, 0) << out;
  Context local(iio_create_xml_context(lv_fake::BoardFixturePath(GetParam()).c_str()));
  ASSERT_TRUE(local);
  for (unsigned i = 0; i < iio_context_get_devices_count(local.get()); ++i) {
    const char* name = iio_device_get_name(iio_context_get_device(local.get(), i));
    EXPECT_NE(out.find(name), std::string::npos) << name << "\n" << out;
  }
  EXPECT_TRUE(fake.WaitForEvent("PRINT", 1000));
}

INSTANTIATE_TEST_SUITE_P(Boards, FakeBoardPerFamily,
                         ::testing::Values("ad9361", "ad9371", "adrv9009", "ad9081", "ad9082", "fmcdaq2", "ad9172"));

TEST(FakeBoard, DebianIioAttrAndWritedevReachTheLog) {
  FakeIiod fake(lv_fake::ReadBoardFixture("ad9361"));
  fake.Start();
  int status = 0;
  std::string out = RunCommand("iio_attr -u " + fake.Uri() + " -c -o ad9361-phy altvoltage0 frequency 2400000000", &status);
  ASSERT_EQ(status, 0) << out;
  EXPECT_EQ(fake.Value("ad9361-phy", "OUTPUT", "altvoltage0", "frequency"), "2400000000");
  // 4 samples of two enabled 16-bit channels = 16 bytes from a file.
  const std::string data = "/tmp/lv_fake_writedev_" + std::to_string(fake.Port());
  {
    FILE* f = std::fopen(data.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    for (int16_t v = 1; v <= 8; ++v) std::fwrite(&v, 2, 1, f);
    std::fclose(f);
  }
  out = RunCommand("iio_writedev -u " + fake.Uri() + " -s 4 -b 4 cf-ad9361-dds-core-lpc voltage0 voltage1 < " + data, &status);
  std::remove(data.c_str());
  ASSERT_EQ(status, 0) << out;
  ASSERT_TRUE(fake.WaitForEvent("CLOSE", 2000));
  const auto pushes = fake.Pushes("cf-ad9361-dds-core-lpc");
  ASSERT_FALSE(pushes.empty());
  ASSERT_EQ(pushes[0].size(), 16u);
  int16_t first;
  std::memcpy(&first, pushes[0].data(), 2);
  EXPECT_EQ(first, 1);
  EXPECT_EQ(fake.EventStrings({"OPEN"}).at(0), "OPEN cf-ad9361-dds-core-lpc 4 00000003");
}

TEST(FakeBoard, RawLibiioWritesOfEveryKindArriveInOrder) {
  FakeIiod fake(lv_fake::ReadBoardFixture("ad9361"));
  fake.Start();
  Context ctx(Connect(fake));
  ASSERT_TRUE(ctx) << "errno " << errno;
  iio_device* phy = iio_context_find_device(ctx.get(), "ad9361-phy");
  ASSERT_NE(phy, nullptr);
  iio_channel* rxlo = iio_device_find_channel(phy, "RX_LO", true);  // found by name, sent by id
  iio_channel* in0 = iio_device_find_channel(phy, "voltage0", false);
  iio_channel* out0 = iio_device_find_channel(phy, "voltage0", true);
  ASSERT_TRUE(rxlo && in0 && out0);
  fake.ClearEvents();
  EXPECT_EQ(iio_channel_attr_write_longlong(rxlo, "frequency", 2400000000LL), 0);
  EXPECT_GT(iio_channel_attr_write(in0, "gain_control_mode", "manual"), 0);
  EXPECT_EQ(iio_channel_attr_write_double(out0, "hardwaregain", -10.0), 0);
  EXPECT_EQ(iio_channel_attr_write_bool(out0, "filter_fir_en", true), 0);
  const char filter[] = "RX 3 GAIN -6 DEC 2\nTX 3 GAIN 0 INT 2\n";
  EXPECT_EQ(iio_device_attr_write_raw(phy, "filter_fir_config", filter, std::strlen(filter)),
            static_cast<ssize_t>(std::strlen(filter)));
  // An attribute the XML does not declare fails in the client and sends nothing.
  EXPECT_LT(iio_channel_attr_write(out0, "no_such_attribute", "1"), 0);
  long long readBack = 0;
  EXPECT_EQ(iio_channel_attr_read_longlong(rxlo, "frequency", &readBack), 0);
  EXPECT_EQ(readBack, 2400000000LL);

  const std::vector<std::string> expected = {
      "WRITE ad9361-phy OUTPUT altvoltage0 frequency 2400000000",
      "WRITE ad9361-phy INPUT voltage0 gain_control_mode manual",
      "WRITE ad9361-phy OUTPUT voltage0 hardwaregain -10.000000",
      "WRITE ad9361-phy OUTPUT voltage0 filter_fir_en 1",
      std::string("WRITE ad9361-phy DEV filter_fir_config ") + filter,
      "READ ad9361-phy OUTPUT altvoltage0 frequency",
  };
  EXPECT_EQ(fake.EventStrings({"WRITE", "READ"}), expected);
}

TEST(FakeBoard, DebugAttributeOfTheAd9081) {
  FakeIiod fake(lv_fake::ReadBoardFixture("ad9081"));
  fake.Start();
  Context ctx(Connect(fake));
  ASSERT_TRUE(ctx);
  iio_device* tx = iio_context_find_device(ctx.get(), "axi-ad9081-tx-hpc");
  ASSERT_NE(tx, nullptr);
  EXPECT_EQ(iio_device_debug_attr_write_bool(tx, "pl_ddr_fifo_enable", true), 0);
  EXPECT_EQ(fake.EventStrings({"WRITE"}), std::vector<std::string>{"WRITE axi-ad9081-tx-hpc DEBUG pl_ddr_fifo_enable 1"});
}

TEST(FakeBoard, CyclicBufferPushDestroyAndCancel) {
  FakeIiod fake(lv_fake::ReadBoardFixture("ad9361"));
  fake.Start();
  Context ctx(Connect(fake));
  ASSERT_TRUE(ctx);
  iio_device* dds = iio_context_find_device(ctx.get(), "cf-ad9361-dds-core-lpc");
  ASSERT_NE(dds, nullptr);
  iio_channel* i0 = iio_device_get_channel(dds, 0);
  iio_channel* q0 = iio_device_get_channel(dds, 1);
  iio_channel_enable(i0);
  iio_channel_enable(q0);
  fake.ClearEvents();
  iio_buffer* buf = iio_device_create_buffer(dds, 3, true);
  ASSERT_NE(buf, nullptr);
  auto* p = static_cast<int16_t*>(iio_buffer_start(buf));
  for (int k = 0; k < 6; ++k) p[k] = static_cast<int16_t>(k * 1000 - 2000);
  EXPECT_EQ(iio_buffer_push(buf), 12);
  iio_buffer_destroy(buf);
  ASSERT_TRUE(fake.WaitForEvent("EOF", 2000));
  const auto seq = fake.EventStrings({"OPEN", "WRITEBUF", "CLOSE", "EXIT"});
  EXPECT_EQ(seq, (std::vector<std::string>{"OPEN cf-ad9361-dds-core-lpc 3 00000003 CYCLIC",
                                            "WRITEBUF cf-ad9361-dds-core-lpc 12", "CLOSE cf-ad9361-dds-core-lpc",
                                            "EXIT"}));
  const auto pushes = fake.Pushes("cf-ad9361-dds-core-lpc");
  ASSERT_EQ(pushes.size(), 1u);
  std::vector<int16_t> got(6);
  std::memcpy(got.data(), pushes[0].data(), 12);
  EXPECT_EQ(got, (std::vector<int16_t>{-2000, -1000, 0, 1000, 2000, 3000}));

  // After a cancel the client only closes its socket: no CLOSE, and the device is free again.
  fake.ClearEvents();
  buf = iio_device_create_buffer(dds, 3, true);
  ASSERT_NE(buf, nullptr);
  iio_buffer_cancel(buf);
  iio_buffer_destroy(buf);
  ASSERT_TRUE(fake.WaitForEvent("EOF", 2000));
  EXPECT_TRUE(fake.EventStrings({"CLOSE"}).empty());
  buf = iio_device_create_buffer(dds, 3, true);
  EXPECT_NE(buf, nullptr) << "a second cyclic OPEN after the cancelled one must be accepted";
  if (buf) iio_buffer_destroy(buf);
}

TEST(FakeBoard, FaultInjection) {
  const std::string xml = lv_fake::ReadBoardFixture("ad9361");
  {  // a missing device
    FakeIiod fake(lv_fake::WithoutDevice(xml, "ad9361-phy"));
    fake.Start();
    Context ctx(Connect(fake));
    ASSERT_TRUE(ctx);
    EXPECT_EQ(iio_context_find_device(ctx.get(), "ad9361-phy"), nullptr);
    EXPECT_NE(iio_context_find_device(ctx.get(), "cf-ad9361-lpc"), nullptr);
  }
  {  // zero devices
    FakeIiod fake(lv_fake::WithoutDevices(xml));
    fake.Start();
    Context ctx(Connect(fake));
    ASSERT_TRUE(ctx);
    EXPECT_EQ(iio_context_get_devices_count(ctx.get()), 0u);
  }
  {  // a short write reply, a refused OPEN
    FakeIiod fake(xml);
    fake.SetShortWriteReply("filter_fir_config");
    fake.SetOpenError(-EBUSY);
    fake.Start();
    Context ctx(Connect(fake));
    ASSERT_TRUE(ctx);
    iio_device* phy = iio_context_find_device(ctx.get(), "ad9361-phy");
    EXPECT_EQ(iio_device_attr_write_raw(phy, "filter_fir_config", "abcd", 4), 3);
    iio_device* dds = iio_context_find_device(ctx.get(), "cf-ad9361-dds-core-lpc");
    iio_channel_enable(iio_device_get_channel(dds, 0));
    errno = 0;
    EXPECT_EQ(iio_device_create_buffer(dds, 4, true), nullptr);
    EXPECT_EQ(errno, EBUSY);
  }
  {  // a stall longer than the client's time-out
    FakeIiod fake(xml);
    fake.Start();
    Context ctx(Connect(fake));
    ASSERT_TRUE(ctx);
    ASSERT_EQ(iio_context_set_timeout(ctx.get(), 200), 0);
    fake.SetStall("WRITE", 600);
    iio_channel* lo = iio_device_find_channel(iio_context_find_device(ctx.get(), "ad9361-phy"), "TX_LO", true);
    EXPECT_LT(iio_channel_attr_write_longlong(lo, "frequency", 1), 0);
  }
  {  // the board drops the connection mid-push: an error, not a dead process
    FakeIiod fake(xml);
    fake.SetDropOn("WRITEBUF");
    fake.Start();
    Context ctx(Connect(fake));
    ASSERT_TRUE(ctx);
    iio_device* dds = iio_context_find_device(ctx.get(), "cf-ad9361-dds-core-lpc");
    iio_channel_enable(iio_device_get_channel(dds, 0));
    iio_buffer* buf = iio_device_create_buffer(dds, 4096, true);
    ASSERT_NE(buf, nullptr);
    EXPECT_LT(iio_buffer_push(buf), 0);
    iio_buffer_destroy(buf);
  }
}

TEST(FakeBoard, NothingListeningRefusesTheConnection) {
  int port;
  {
    FakeIiod fake(lv_fake::ReadBoardFixture("ad9361"));
    port = fake.Start();
  }
  std::string host = "127.0.0.1:" + std::to_string(port);
  std::vector<char> copy(host.begin(), host.end());
  copy.push_back('\0');
  errno = 0;
  EXPECT_EQ(iio_create_network_context(copy.data()), nullptr);
  EXPECT_EQ(errno, ECONNREFUSED);
}

}  // namespace
