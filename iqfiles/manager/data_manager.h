// CQMultiDataMgr: the input file of each of the four transmitters (inputs 0 to
// 3). Per input it keeps the file name, the format decided from that name (the
// type code), one reader per format, and the sample rate and centre frequency
// the user gives for text formats that carry neither. It describes a file (a
// new CQFileInfo the caller owns), reads it whole or in part into a
// CQFileDataBlock, and saves and recalls its "DataManager:File %d:" keys.
//
// Type codes: 0 undetermined/unsupported, 1 Xdat (.xhdr/.xdat/.xmrk; partial
// reads only), 2 SIQ pair (.siqh/.siqd), 3 .iqbin, 4 .iqtxt (no reader:
// described as an empty record, never read), 5 .bin with .bin.txt, 6 to 13 a
// .txt file of that text type (.csv only with type 11), 14 .wvh/.wvd pair,
// 15 .wv. Text types: 6 Agilent VSA text, 7 ADI VSA text, 8 ADI VSA text with
// the rate multiplier 1e6, 9 generic "I Q" lines (rate and centre from the
// text-file settings), 10 and 11 generic "time I Q" lines (rate from the time
// column, centre from the settings), 12 and 13 pattern-generator text with
// alternating or blocked I and Q lines (rate and centre from the settings;
// scaled to a peak of 1 when the normalise flag is set).
//
// The type is decided from the file-name part of the path only; folders never
// change it. Only the data-manager thread calls an instance; there is no lock.
// Failures are CQError* with "CQMultiDataMgr::<operation>" appended.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "iqfiles/formats/file_info.h"

class CQAppSettings;
class CQModFileInfo;
class CQReadXdatFile;
class CQSIQFile;
class CLumvardBinFile;
class CQAgilentBinFile;
class CQAgilentVSATxtFile;
class CQADIVSATxtFile;
class CQADIDpgTxtFile;
class CQGenericTxtIQInputFile;
class CQRSWvdhFile;
class CQReadRSWvFile;

class CQMultiDataMgr {
 public:
  static constexpr int32_t kNumInputs = 4;

  enum FileType : int32_t {
    kTypeNone = 0,
    kTypeXdat = 1,
    kTypeSiq = 2,
    kTypeIqBin = 3,
    kTypeIqTxt = 4,
    kTypeAgilentBin = 5,
    kTypeAgilentVsaTxt = 6,
    kTypeAdiVsaTxt = 7,
    kTypeAdiVsaTxtMHz = 8,
    kTypeGenericTxt3 = 9,
    kTypeGenericTxt5 = 10,
    kTypeGenericCsv5 = 11,
    kTypeDpgTxt1 = 12,
    kTypeDpgTxt2 = 13,
    kTypeWvdh = 14,
    kTypeWv = 15,
  };

  CQMultiDataMgr();
  ~CQMultiDataMgr();
  CQMultiDataMgr(const CQMultiDataMgr&) = delete;
  CQMultiDataMgr& operator=(const CQMultiDataMgr&) = delete;

  void SetIsFileActive(bool active, int32_t index);
  // Stores the type only when it lies in 6 to 13; other values are ignored.
  // The type code of the input is not re-determined.
  void SetTxtFileType(int32_t type, int32_t index);
  void SetTxtSampleRate(double rate, int32_t index);
  void SetTxtCenterFreq(double freq, int32_t index);
  // Null: "Attempt to set file name to a Null string."; empty: the input has
  // no name afterwards; otherwise the name is stored, typed and handed to
  // its format's reader.
  void SetIQFileName(const wchar_t* name, int32_t index);
  // Frees the root name, sets the type code to 0 and stores the name part of
  // the input's path. Never fails (errors are swallowed).
  void SetRootFileName(int32_t index);
  // Re-determines the input's type and hands its name to that reader.
  void HandleNewFile(int32_t index);

  bool GetIsFileActive(int32_t index) const;
  int32_t GetTxtFileType(int32_t index) const;
  double GetTxtSampleRate(int32_t index) const;
  double GetTxtCenterFreq(int32_t index) const;
  int32_t GetInputFileType(int32_t index) const;
  // The stored strings (null when none); valid until the input's name changes.
  const wchar_t* GetIQFileName(int32_t index) const;
  const wchar_t* GetRootFileName(int32_t index) const;

  bool GetNormalize() const { return normalize_; }
  void SetNormalize(bool v) { normalize_ = v; }

  // A new record describing the input's file; the caller owns it.
  CQFileInfo* GetIQFileInfo(const wchar_t* name, int32_t index);
  // A new modulation-information record (filled for .iqbin); the caller owns it.
  CQModFileInfo* GetModFileInfo(const wchar_t* name, int32_t index);
  // Fills the block with the window (or the whole file) it asks for.
  void ReadFileData(CQFileDataBlock* block, int32_t index);
  void OpenDataFile(int32_t index);
  void CloseDataFile(int32_t index);

  void SaveSettings(CQAppSettings* settings);
  void RecallSettings(CQAppSettings* settings);

  static int32_t FindFileType(const wchar_t* name, int32_t txtType);
  static bool IsTxtFileName(const wchar_t* name);
  static bool IsCsvFileName(const wchar_t* name);

 private:
  struct Input;
  Input& At(int32_t index, const char* name);
  const Input& At(int32_t index, const char* name) const;
  // Hands the input's name to the reader of its type code (types 0 and 4
  // have none).
  // Any data file a reader of the input still holds open belongs to an
  // earlier name and is closed first.
  static void GiveNameToReader(Input& in, const wchar_t* name);
  // Sets the type code from the name when it is still undetermined; a newly
  // found type also gets the name, so no reader works on an older file.
  static void DetermineType(Input& in, const wchar_t* name);
  void DescribeByType(Input& in, CQFileInfo* info);
  void ReadByType(Input& in, CQFileDataBlock* block);

  std::array<std::unique_ptr<Input>, kNumInputs> inputs_;
  bool normalize_ = false;
};
