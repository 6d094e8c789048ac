#include "xcvr/instr_adi.h"

#include <cwchar>
#include <string>

#include "core/error.h"

namespace {

struct RateRow {
  int index;
  double sampleRate;
  double span;
  const wchar_t* filterFile;  // format with the directory; null when none
};

constexpr RateRow kRates[] = {
    {1, 2000000, 1640000, L"%ls/AD9361_2Msps.ftr"},
    {2, 5000000, 4000000, L"%ls/AD9361_5Msps.ftr"},
    {3, 8000000, 6400000, L"%ls/AD9361_8Msps.ftr"},
    {4, 10000000, 8000000, L"%ls/AD9361_10Msps.ftr"},
    {5, 12000000, 9600000, L"%ls/AD9361_12Msps.ftr"},
    {6, 20000000, 16000000, L"%ls/AD9361_20Msps.ftr"},
    {7, 24000000, 19200000, L"%ls/AD9361_24Msps.ftr"},
    {8, 25000000, 20000000, L"%ls/AD9361_25Msps.ftr"},
    {9, 30000000, 24000000, L"%ls/AD9361_30Msps.ftr"},
    {10, 40000000, 32000000, L"%ls/AD9361_40Msps.ftr"},
    {11, 15360000, 12288000, L"%ls/AD9361_LTE10_15p36Msps.ftr"},
    {12, 30720000, 24576000, L"%ls/AD9361_LTE20_30p72Msps.ftr"},
    {13, 1625000, 1150000, L"%ls/AD9361_GSM_1p625Msps.ftr"},
    {14, 3250000, 2300000, L"%ls/AD9361_GSM_3p25Msps.ftr"},
    {15, 6500000, 4700000, L"%ls/AD9361_GSM_6p5Msps.ftr"},
    {16, 20000000, 20000000, L"%ls/AD9361_WLAN_20Msps.ftr"},
    {17, 0, 0, L"%ls/AD9361_user.ftr"},  // a file name only: no rate
    {18, 14000000, 11200000, L"%ls/AD9361_14Msps.ftr"},
    {19, 28000000, 21000000, L"%ls/AD9361_28Msps.ftr"},
    {20, 15170823, 12000000, L"%ls/AD9361_DOCSIS_15p170823Msps.ftr"},
    {21, 16081611, 12800000, L"%ls/AD9361_DOCSIS_16p081611Msps.ftr"},
    {22, 50000000, 40000000, L"%ls/AD9361_50Msps.ftr"},
    {100, 122880000, 118000000, nullptr},
    {200, 245760000, 200000000, nullptr},
    {201, 122880000, 118000000, nullptr},
    {300, 15360000, 9200000, nullptr},
    {400, 250000000, 200000000, nullptr},
    {401, 1500000000, 1200000000, nullptr},
    {402, 1474560000, 1180000000, nullptr},
    {405, 245760000, 200000000, nullptr},
    {406, 307200000, 250000000, nullptr},
    {500, 500000000, 200000000, nullptr},
    {501, 1000000000, 400000000, nullptr},
    {600, 250000000, 100000000, nullptr},
    {700, 1966080000, 800000000, nullptr},
    {800, 368640000, 294000000, nullptr},
    {801, 375000000, 300000000, nullptr},
    // 403, 404 and 900 lie in the index space without a rate: invalid like any unknown index.
};

struct DirectionalRow {
  int index;
  double rxSampleRate;
  double txSampleRate;
  double txSpan;
};

constexpr DirectionalRow kDirectional[] = {
    {100, 122880000, 245760000, 200000000},
    {200, 245760000, 245760000, 200000000},
    {201, 122880000, 122880000, 118000000},
};

const RateRow* FindRate(int index) {
  for (const auto& row : kRates) {
    if (row.index == index) {
      return row.sampleRate > 0 ? &row : nullptr;
    }
  }
  return nullptr;
}

const DirectionalRow* FindDirectional(int index) {
  for (const auto& row : kDirectional) {
    if (row.index == index) {
      return &row;
    }
  }
  return nullptr;
}

}  // namespace

double CQInstrADI::GetSampleRate(int rateIndex) {
  const RateRow* row = FindRate(rateIndex);
  if (row == nullptr) {
    throw new CQError("Invalid filter / sample rate configuration.", "CQInstrADI::GetSampleRate");
  }
  return row->sampleRate;
}

double CQInstrADI::GetSpan(int rateIndex) {
  const RateRow* row = FindRate(rateIndex);
  if (row == nullptr) {
    throw new CQError("Invalid filter / sample rate configuration.", "CQInstrADI::GetSpan");
  }
  return row->span;
}

double CQInstrADI::GetRxSampleRate(int rateIndex) {
  const DirectionalRow* row = FindDirectional(rateIndex);
  return row != nullptr ? row->rxSampleRate : GetSampleRate(rateIndex);
}

double CQInstrADI::GetRxSpan(int rateIndex) { return GetSpan(rateIndex); }

double CQInstrADI::GetTxSampleRate(int rateIndex) {
  const DirectionalRow* row = FindDirectional(rateIndex);
  return row != nullptr ? row->txSampleRate : GetSampleRate(rateIndex);
}

double CQInstrADI::GetTxSpan(int rateIndex) {
  const DirectionalRow* row = FindDirectional(rateIndex);
  return row != nullptr ? row->txSpan : GetSpan(rateIndex);
}

float CQInstrADI::GetRxScaleFactor(int model) {
  switch (model) {
    case 3:
      return 0.5f;
    case 4:
    case 5:
    case 9:
    case 10:
    case 14:
    case 18:
      return 0.7071f;
    case 11:
      return 2.0f;
    case 13:
      return 1.4142f;
    default:
      return 1.0f;
  }
}

void CQInstrADI::MakeRateFileName(int rateIndex, const wchar_t* directory, wchar_t* fileName, int capacity) {
  try {
    if (fileName == nullptr || capacity <= 0) {
      throw new CQError("Null pointer to file name.");
    }
    if (directory == nullptr) {
      throw new CQError("Null pointer to path.");
    }
    if (rateIndex < 1 || rateIndex > 22) {
      throw new CQError("Unknown rate value.");
    }
    const wchar_t* format = nullptr;
    for (const auto& row : kRates) {
      if (row.index == rateIndex) {
        format = row.filterFile;
      }
    }
    // swprintf cuts at the capacity and always terminates.
    if (std::swprintf(fileName, static_cast<size_t>(capacity), format, directory) < 0) {
      fileName[capacity - 1] = L'\0';
    }
  } catch (CQError* e) {
    e->AddToCallStack("CQInstrADI::MakeRateFileName");
    throw;
  }
}
