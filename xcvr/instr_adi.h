// Rate tables of the Analog Devices boards: every board configuration is one
// integer, the rate index; these functions turn it into sample rates, spans
// and the AD9361 family's filter-file names.
#pragma once

class CQInstrADI {
 public:
  // Sample rate and usable span of the index (Hz); "Invalid filter / sample
  // rate configuration." for an index outside the table.
  static double GetSampleRate(int rateIndex);
  static double GetSpan(int rateIndex);
  // Directional variants: the AD9371 and ADRV9009 run their converters at
  // other rates in the two directions.
  static double GetRxSampleRate(int rateIndex);
  static double GetRxSpan(int rateIndex);
  static double GetTxSampleRate(int rateIndex);
  static double GetTxSpan(int rateIndex);
  // Receive amplitude factor of a board model.
  static float GetRxScaleFactor(int model);
  // The filter file of an AD9361-family index (1..22): "<directory>/AD9361_20Msps.ftr".
  static void MakeRateFileName(int rateIndex, const wchar_t* directory, wchar_t* fileName, int capacity);
};
