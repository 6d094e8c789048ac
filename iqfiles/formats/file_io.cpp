#include "iqfiles/formats/file_io.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>

#include "core/array_math.h"
#include "core/error.h"
#include "platform/text.h"

namespace lv_iq {

ReadWindow ComputeReadWindow(bool partial, int64_t s, int32_t c, int64_t P, double rate, double timeOrigin) {
  ReadWindow w;
  if (!partial) {
    w.readSomething = true;
    w.first = 0;
    w.count = static_cast<int32_t>(std::min<int64_t>(P, INT32_MAX));
    w.time = timeOrigin;
    return w;
  }
  w.first = s;
  int64_t n = c;
  bool nothing = false;
  if (s < 0 && -s >= c) {
    nothing = true;
    w.leading = c;
  } else if (s < 0) {
    w.leading = static_cast<int32_t>(-s);
    w.first = 0;
    n = c + s;
  }
  if (!nothing && s + c > P) {
    if (s >= P) {
      nothing = true;
      w.trailing = c;
    } else {
      n = P - w.first;
      w.trailing = static_cast<int32_t>(s + c - P);
    }
  }
  w.readSomething = !nothing && n > 0;
  w.count = w.readSomething ? static_cast<int32_t>(n) : 0;
  w.time = static_cast<double>(s + w.leading) / rate + timeOrigin;
  return w;
}

WorkBuffers::~WorkBuffers() { Release(); }

void WorkBuffers::Release() {
  CQArrayMath::Free(ints_);
  CQArrayMath::Free(f1_);
  CQArrayMath::Free(f2_);
  ints_ = nullptr;
  f1_ = f2_ = nullptr;
  capacity_ = 0;
}

void WorkBuffers::Prepare(int n) {
  const int64_t need = 2 * static_cast<int64_t>(n);
  if (capacity_ < need || capacity_ > 2 * need) {
    Release();
  }
  const int elements = need > INT32_MAX || need < 0 ? -1 : static_cast<int>(need);
  if (ints_ == nullptr) {
    ints_ = CQArrayMath::AllocShortInt(elements);
  }
  if (f1_ == nullptr) {
    f1_ = CQArrayMath::AllocFloat(elements);
  }
  if (f2_ == nullptr) {
    f2_ = CQArrayMath::AllocFloat(elements);
  }
  capacity_ = elements;
}

bool File::Open(const char* path, const char* mode) {
  Close();
  f_ = path != nullptr ? std::fopen(path, mode) : nullptr;
  atStart_ = f_ != nullptr;
  return f_ != nullptr;
}

bool File::Close() {
  if (f_ == nullptr) {
    return true;
  }
  const bool ok = std::fclose(f_) == 0;
  f_ = nullptr;
  return ok;
}

bool File::Read(void* dst, size_t n) {
  atStart_ = atStart_ && n == 0;
  return n == 0 || std::fread(dst, 1, n, f_) == n;
}

bool File::Write(const void* src, size_t n) { return n == 0 || std::fwrite(src, 1, n, f_) == n; }

bool File::Seek(int64_t offset) {
  const bool ok = fseeko(f_, static_cast<off_t>(offset), SEEK_SET) == 0;
  atStart_ = ok && offset == 0;
  return ok;
}

int64_t File::Size() {
  const off_t here = ftello(f_);
  if (fseeko(f_, 0, SEEK_END) != 0) {
    return -1;
  }
  const off_t size = ftello(f_);
  fseeko(f_, here, SEEK_SET);
  return static_cast<int64_t>(size);
}

void File::SkipByteOrderMark() {
  atStart_ = false;
  unsigned char head[3] = {0, 0, 0};
  const size_t got = std::fread(head, 1, sizeof head, f_);
  if (got == 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF) {
    return;
  }
  fseeko(f_, 0, SEEK_SET);  // no mark: the first line starts at byte 0
}

bool File::ReadLine(std::string& line, size_t maxChars) {
  line.clear();
  if (atStart_) {
    SkipByteOrderMark();
  }
  int ch;
  bool any = false;
  while ((ch = std::fgetc(f_)) != EOF) {
    any = true;
    if (ch == '\n') {
      break;
    }
    line.push_back(static_cast<char>(ch));
    if (line.size() >= maxChars) {
      break;  // a longer line is read in pieces
    }
  }
  if (!line.empty() && line.back() == '\r') {
    line.pop_back();
  }
  return any;
}

namespace {
std::atomic<unsigned> g_tempCounter{0};
}

AtomicFileWriter::AtomicFileWriter(const std::string& target, const char* createError) : target_(target) {
  temp_ = target + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(g_tempCounter++);
  if (!file_.Open(temp_.c_str(), "wb")) {
    throw new CQError(createError);
  }
}

AtomicFileWriter::~AtomicFileWriter() {
  if (!committed_) {
    file_.Close();
    std::remove(temp_.c_str());
  }
}

void AtomicFileWriter::Write(const void* src, size_t n, const char* writeError) {
  if (!file_.Write(src, n)) {
    throw new CQError(4, CQMessage{writeError});
  }
}

void AtomicFileWriter::Commit(const char* writeError) {
  if (std::fflush(file_.get()) != 0 || fsync(fileno(file_.get())) != 0 || !file_.Close()) {
    throw new CQError(4, CQMessage{writeError});
  }
  if (std::rename(temp_.c_str(), target_.c_str()) != 0) {
    throw new CQError(4, CQMessage{writeError});
  }
  committed_ = true;
}

const float* ReadScaledPairs(File& file, int64_t offset, int count, float scale, WorkBuffers& buffers,
                             const char* readError) {
  if (!file.Seek(offset) || !file.Read(buffers.ints(), 4 * static_cast<size_t>(count))) {
    throw new CQError(readError);
  }
  CQArrayMath::CopyArray(buffers.ints(), buffers.floats1(), 2 * count);
  CQArrayMath::ArrayScalarMult(buffers.floats1(), scale, buffers.floats2(), 2 * count);
  return buffers.floats2();
}

const float* ReadWindowPairs(File& file, const ReadWindow& w, float scale, WorkBuffers& buffers,
                             const char* readError) {
  if (!w.readSomething) {
    return nullptr;
  }
  buffers.Prepare(w.count);
  return ReadScaledPairs(file, 4 * w.first, w.count, scale, buffers, readError);
}

void CheckArrayToWrite(const CQCArrayTD* array) {
  if (array == nullptr) {
    throw new CQError("Null pointer to the input data array.");
  }
  if (array->GetDataPtr() == nullptr) {
    throw new CQError("Null pointer to the input data.");
  }
  if (array->GetNumPoints() < 1) {
    throw new CQError("Invalid number of input points.");
  }
  if (!(array->GetSampleRate() > 0.0)) {
    throw new CQError("Invalid sample rate.");
  }
}

void CheckFiniteSamples(const CQCArrayTD& array) {
  const float* parts = reinterpret_cast<const float*>(array.GetDataPtr());
  const int64_t n = 2 * static_cast<int64_t>(array.GetNumPoints());
  for (int64_t k = 0; parts != nullptr && k < n; ++k) {
    if (!std::isfinite(parts[k])) {
      throw new CQError(4, CQMessage{"The samples to write include values that are not finite."});
    }
  }
}

void CheckSampleCount(int64_t count, int64_t dataBytes, int64_t bytesPerSample) {
  if (count > INT32_MAX || (dataBytes >= 0 && count * bytesPerSample > dataBytes)) {
    throw new CQError("The file is shorter than its header states.");
  }
}

void FillOutput(CQCArrayTD& out, const ReadWindow& w, const float* pairs, double rate, double centerFreq,
                const CQDateTime* date) {
  if (w.readSomething) {
    out.Set(reinterpret_cast<const CQComplex*>(pairs), w.count, rate, w.time);
  } else {
    out.Clear();
    out.SetSampleRate(rate);
    out.SetTimeOrigin(w.time);
  }
  if (date != nullptr) {
    out.StartDateTime() = *date;
  }
  out.SetCenterFreq(centerFreq);
  if (w.leading > 0) {
    out.PrependZeroData(w.leading);
  }
  if (w.trailing > 0) {
    out.AppendZeroData(w.trailing);
  }
}

}  // namespace lv_iq
