// Shared pieces of the IQ file readers and writers: the read window of a
// partial read, the reusable work buffers, a file handle that closes itself,
// and a writer that replaces its target only when everything was written.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "core/arrays/carray.h"

namespace lv_iq {

// The samples a read takes from a file of P points, and the zeros around them.
struct ReadWindow {
  bool readSomething = false;
  int64_t first = 0;     // first file sample
  int32_t count = 0;     // samples read from the file
  int32_t leading = 0;   // zeros before them
  int32_t trailing = 0;  // zeros after them
  double time = 0.0;     // time of the first returned sample
};

// A whole read (partial false) takes all P points; a partial read of c
// samples from s always returns c samples, zeros where the window leaves the
// file, the first at time origin + s / rate.
ReadWindow ComputeReadWindow(bool partial, int64_t s, int32_t c, int64_t P, double rate, double timeOrigin);

// Three work buffers (16-bit integers, floats, floats) of a common capacity,
// reused while the capacity lies between 2n and 4n elements.
class WorkBuffers {
 public:
  WorkBuffers() = default;
  ~WorkBuffers();
  WorkBuffers(const WorkBuffers&) = delete;
  WorkBuffers& operator=(const WorkBuffers&) = delete;

  // Room for n complex samples (2n elements each). Allocation failures are
  // CQError code 1 naming the allocator.
  void Prepare(int n);
  int16_t* ints() { return ints_; }
  float* floats1() { return f1_; }
  float* floats2() { return f2_; }

 private:
  void Release();
  int16_t* ints_ = nullptr;
  float* f1_ = nullptr;
  float* f2_ = nullptr;
  int capacity_ = 0;
};

// A C stream that closes itself.
class File {
 public:
  File() = default;
  File(const char* path, const char* mode) { Open(path, mode); }
  ~File() { Close(); }
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  bool Open(const char* path, const char* mode);
  // False when the close reported an error (buffered data not written).
  bool Close();
  bool IsOpen() const { return f_ != nullptr; }
  FILE* get() const { return f_; }
  // Exactly n bytes, or false.
  bool Read(void* dst, size_t n);
  bool Write(const void* src, size_t n);
  bool WriteText(const std::string& text) { return Write(text.data(), text.size()); }
  bool Seek(int64_t offset);
  // Size in bytes of the open file, or -1.
  int64_t Size();
  // One line without its line end (LF or CR LF); false at the end of the file.
  // A UTF-8 byte-order mark at the start of the file is not part of the first line.
  bool ReadLine(std::string& line, size_t maxChars = 1023);

 private:
  void SkipByteOrderMark();

  FILE* f_ = nullptr;
  bool atStart_ = false;  // the next read starts at byte 0
};

// Writes a new file next to the target and renames it over the target on
// Commit, so a failed or interrupted write leaves no partial file and no
// damaged original. Every write is checked; failures are CQError code 4.
class AtomicFileWriter {
 public:
  // message: the text of the code-4 error raised when a write fails.
  AtomicFileWriter(const std::string& target, const char* createError);
  ~AtomicFileWriter();  // removes the temporary file unless committed
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  void Write(const void* src, size_t n, const char* writeError);
  void WriteText(const std::string& text, const char* writeError) { Write(text.data(), text.size(), writeError); }
  void Commit(const char* writeError);

 private:
  std::string target_;
  std::string temp_;
  File file_;
  bool committed_ = false;
};

// A sample count from a header checked against what the file holds (bytes of
// data after the header), the int32 range and the allocator's limit.
void CheckSampleCount(int64_t count, int64_t dataBytes, int64_t bytesPerSample);

// Reads count 16-bit I/Q pairs from byte offset `offset` of the file into
// the buffers' integers and returns them as floats times scale (the second
// float buffer); fails with readError. The buffers must be prepared for count.
const float* ReadScaledPairs(File& file, int64_t offset, int count, float scale, WorkBuffers& buffers,
                             const char* readError);
// The same for the samples of a read window from a data file whose pairs
// start at byte 0: prepares the buffers and reads; null when the window reads
// nothing from the file.
const float* ReadWindowPairs(File& file, const ReadWindow& w, float scale, WorkBuffers& buffers,
                             const char* readError);

// The checks of the system's own writers (.iqbin, .iqtxt) on the array to
// write: an array with samples, at least one, and a positive sample rate.
void CheckArrayToWrite(const CQCArrayTD* array);

// Writers refuse samples that are not finite (a NaN or an infinity would be
// written as a number, or spoil the scaling of every other sample): CQError
// code 4, before anything is written.
void CheckFiniteSamples(const CQCArrayTD& array);

// Sets the output array from n interleaved float pairs at the given rate and
// time, or (nothing read) empties it with that rate and time; then pads.
void FillOutput(CQCArrayTD& out, const ReadWindow& w, const float* pairs, double rate, double centerFreq,
                const CQDateTime* date);

}  // namespace lv_iq
