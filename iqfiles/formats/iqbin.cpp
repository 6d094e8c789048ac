#include "iqfiles/formats/iqbin.h"

#include <sys/mman.h>

#include <cmath>
#include <cstring>
#include <span>

#include "core/array_math.h"
#include "core/call_stack.h"
#include "core/error.h"
#include "iqfiles/formats/iqbin_layout.h"
#include "iqfiles/formats/text_reading.h"

namespace {

using lv::Named;

struct FieldSpan {
  int offset;
  int size;
};

// Fields copied for every kind, then those of each kind.
constexpr FieldSpan kCommon[] = {{0, 4}, {4, 4}, {8, 4}, {16, 8}, {24, 4}, {28, 4}, {32, 8}, {40, 4}};
constexpr FieldSpan kKind4[] = {{48, 1}, {52, 4}};
constexpr FieldSpan kKind5[] = {{48, 4}, {52, 4}, {56, 4}, {60, 4}, {64, 4}, {68, 4}, {72, 1},
                                {73, 1}, {76, 4}, {80, 4}, {84, 4}, {88, 4}, {92, 4}};
constexpr FieldSpan kKind7[] = {{48, 8}, {56, 8}, {64, 8}, {72, 8}};
constexpr FieldSpan kKind8[] = {{48, 4}, {52, 4}, {56, 4}, {60, 4}, {64, 4}, {68, 4}, {72, 1}, {76, 4}, {80, 8}};
constexpr FieldSpan kKind9[] = {{48, 4}, {52, 4}, {56, 4}};
constexpr FieldSpan kKind10[] = {{48, 4}, {52, 4}, {56, 4}, {60, 4}, {64, 4}};

// The fields of each kind that has its own.
struct KindFields {
  int32_t kind;
  std::span<const FieldSpan> fields;
};
constexpr KindFields kKinds[] = {{4, kKind4}, {5, kKind5}, {7, kKind7}, {8, kKind8}, {9, kKind9}, {10, kKind10}};

void CopyFields(uint8_t* dst, const uint8_t* src, std::span<const FieldSpan> fields) {
  for (const auto& f : fields) {
    std::memcpy(dst + f.offset, src + f.offset, static_cast<size_t>(f.size));
  }
}

// The header of an opened .iqbin file, its version checked.
lv_iqbin::Header ReadHeader(lv_iq::File& file) {
  if (!file.IsOpen()) {
    throw new CQError("Error opening IQ binary input file.");
  }
  lv_iqbin::Header h;
  if (!file.Read(&h, sizeof h)) {
    throw new CQError("Error reading the header from an IQ binary file.");
  }
  if (h.version != 1 && h.version != 2) {
    throw new CQError("Invalid file version for an IQ binary file.");
  }
  return h;
}

// Marks the whole 2 MiB pages inside [p, p + n) for transparent huge pages.
// A block freshly allocated for a whole read is otherwise mapped one 4 KiB
// page at a time while the read fills it, and those faults (131072 for a
// 64 M-sample file; each far dearer on a virtual machine) cost more than the
// read itself. Only a hint: when the system refuses it, nothing changes.
void AdviseHugePages(void* p, size_t n) {
  constexpr uintptr_t kHuge = uintptr_t{2} << 20;
  const uintptr_t at = reinterpret_cast<uintptr_t>(p);
  const uintptr_t begin = (at + kHuge - 1) & ~(kHuge - 1);
  const uintptr_t end = (at + n) & ~(kHuge - 1);
  if (end > begin) {
    ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
  }
}

}  // namespace

void CQModFileInfo::Reset() {
  bytes_.fill(0);
  const int32_t one = 1;
  std::memcpy(bytes_.data(), &one, 4);
}

int32_t CQModFileInfo::Kind() const {
  int32_t kind;
  std::memcpy(&kind, bytes_.data() + 4, 4);
  return kind;
}

void CQModFileInfo::CopyFromBytes(const uint8_t* bytes) {
  CQModFileInfo source;
  std::memcpy(source.bytes_.data(), bytes, kSize);
  CopyFrom(&source);
}

void CQModFileInfo::CopyFrom(const CQModFileInfo* source) {
  if (source == nullptr) {
    return;
  }
  uint8_t* d = bytes_.data();
  const uint8_t* s = source->bytes_.data();
  CopyFields(d, s, kCommon);
  const int32_t kind = source->Kind();
  for (const KindFields& k : kKinds) {
    if (k.kind == kind) {
      CopyFields(d, s, k.fields);
    }
  }
}

void CLumvardBinFile::SetModInfo(const CQModFileInfo& info) {
  if (!modInfo_) {
    modInfo_ = std::make_unique<CQModFileInfo>();
  }
  modInfo_->CopyFrom(&info);
}

void CLumvardBinFile::SetFileName(const wchar_t* name) {
  Named("CLumvardBinFile::SetFileName", [&] {
    if (name == nullptr) {
      throw new CQError("Null pointer to file name.");
    }
    name_.Set(name);
    headerRead_ = false;
  });
}

bool CLumvardBinFile::IsIQBinFileName(const wchar_t* name) {
  return FileNameContains(name, {L".IQBIN"});
}

void CLumvardBinFile::GetFileInfo(const char* name, CQFileInfo* info) {
  Named("CLumvardBinFile::GetFileInfo", [&] {
    headerRead_ = false;
    if (!modInfo_) {
      modInfo_ = std::make_unique<CQModFileInfo>();
    } else {
      modInfo_->Reset();
    }
    if (name == nullptr) {
      throw new CQError("Null pointer to file name.");
    }
    if (info == nullptr) {
      throw new CQError("Null pointer to file info.");
    }
    lv_iq::File file(name, "rb");
    const lv_iqbin::Header h = ReadHeader(file);
    if (h.version == 2) {
      uint8_t extra[lv_iqbin::kExtraSize];
      if (!file.Read(extra, sizeof extra)) {
        throw new CQError("Error reading the header extra from an IQ binary file.");
      }
      modInfo_->CopyFromBytes(extra);
    }
    const int64_t dataBytes = file.Size() - lv_iqbin::DataOffset(h.version);
    file.Close();
    if (h.numPoints < 0) {
      throw new CQError("Invalid number of data points for an IQ binary file.");
    }
    if (!(h.sampleRate > 0.0) || !std::isfinite(h.sampleRate)) {
      throw new CQError("Invalid sample rate for an IQ binary file.");
    }
    if (!std::isfinite(h.centerFreq)) {
      lv_iq::RefuseHeaderField(name, "CenterFreq");
    }
    if (!std::isfinite(h.timeOrigin)) {
      lv_iq::RefuseHeaderField(name, "TimeOrigin");
    }
    lv_iq::CheckSampleCount(h.numPoints, dataBytes, 8);
    SetFloatFileInfo(info, h.numPoints, h.sampleRate, h.centerFreq);
    version_ = h.version;
    numPoints_ = h.numPoints;
    sampleRate_ = h.sampleRate;
    centerFreq_ = h.centerFreq;
    timeOrigin_ = h.timeOrigin;
    headerRead_ = true;
  });
}

void CLumvardBinFile::ReadFromFile() {
  Named("CLumvardBinFile::ReadFromFile", [&] {
    if (name_.Empty()) {
      throw new CQError("Null pointer to file name.");
    }
    if (!headerRead_) {
      throw new CQError("Programming error: ReadFileParams() must be called prior to ReadFromFile().");
    }
    if (!output_) {
      output_ = std::make_unique<CQCArrayTD>();
    }
    const lv_iq::ReadWindow w =
        lv_iq::ComputeReadWindow(partialRead, start, count, numPoints_, sampleRate_, timeOrigin_);
    if (w.readSomething) {
      if (w.count <= 0) {
        CQArrayMath::AllocShortInt(w.count);  // an empty whole read is an allocation failure
      }
      lv_iq::File file(name_.Utf8(), "rb");
      const lv_iqbin::Header h = ReadHeader(file);
      if (!file.Seek(lv_iqbin::DataOffset(h.version) + 8 * w.first)) {
        throw new CQError("Error seeking to start of read in an IQ binary file.");
      }
      // The samples are stored as the array holds them: read straight into its storage.
      CQCArrayTD& out = *output_;
      const bool newBlock = out.GetNumPoints() != w.count;
      out.SetSize(w.count);
      if (newBlock) {
        AdviseHugePages(out.GetDataPtr(), 8 * static_cast<size_t>(w.count));
      }
      if (!file.Read(out.GetDataPtr(), 8 * static_cast<size_t>(w.count))) {
        out.Clear();
        throw new CQError("Error reading the data from an IQ binary file.");
      }
      out.SetSampleRate(sampleRate_);
      out.SetTimeOrigin(w.time);
      out.SetValid(true);
      out.SetCenterFreq(centerFreq_);
      if (w.leading > 0) {
        out.PrependZeroData(w.leading);
      }
      if (w.trailing > 0) {
        out.AppendZeroData(w.trailing);
      }
      return;
    }
    const float* pairs = nullptr;
    lv_iq::FillOutput(*output_, w, pairs, sampleRate_, centerFreq_, nullptr);
  });
}

void CLumvardBinFile::WriteToFile(const CQCArrayTD* array) {
  Named("CLumvardBinFile::WriteToFile", [&] {
    lv_iq::CheckArrayToWrite(array);
    if (name_.Empty()) {
      throw new CQError("Null pointer to file name.");
    }
    lv_iq::CheckFiniteSamples(*array);
    lv_iq::AtomicFileWriter out(name_.Utf8(), "Error creating the output IQ binary file.");
    lv_iqbin::Header h{2, array->GetNumPoints(), array->GetSampleRate(), array->GetTimeOrigin(),
                       array->GetCenterFreq()};
    out.Write(&h, sizeof h, "Error writing the header to an IQ binary file.");
    uint8_t extra[lv_iqbin::kExtraSize] = {};
    if (modInfo_) {
      std::memcpy(extra, modInfo_->Bytes(), CQModFileInfo::kSize);
    }
    out.Write(extra, sizeof extra, "Error writing the header extra to an IQ binary file.");
    out.Write(array->GetDataPtr(), 8 * static_cast<size_t>(array->GetNumPoints()),
              "Error writing the data to an IQ binary file.");
    out.Commit("Error writing the data to an IQ binary file.");
  });
}
