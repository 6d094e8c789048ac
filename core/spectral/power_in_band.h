// Power in band: the power of one or more bands of an averaged power spectrum
// (watts per bin, as CQAvgSpectrum produces it), each band placed relative to
// the middle of the spectrum, optionally averaged over successive
// measurements.
//
// CQPiBMeasBand holds one band's definition and result, CQPiBMeasBandList a
// counted array of bands, CQPiBMeasurement measures every band of a list on
// its own copy of one spectrum.
#pragma once

class CQFArrayFD;

class CQPiBMeasBand {
 public:
  CQPiBMeasBand() = default;

  // Clears the running average and the result; the definition and the
  // spectrum middle stay.
  void ResetAveraging();
  // Copies every field of other; null changes nothing.
  void Set(const CQPiBMeasBand* other);

  bool on = false;               // the band is measured
  bool reserved = false;         // copied, not used
  double freq = 0.0;             // Hz, band centre as an offset from the spectrum's middle
  double bandwidth = 1000000.0;  // Hz
  bool avgOn = false;            // average over successive measurements
  int avgFactor = 1;             // most measurements in the running average
  int numAvgs = 0;               // measurements in the current average
  bool valid = false;            // power and powerdBm hold the last measurement
  double spectrumMiddle = 0.0;   // Hz, middle of the spectrum last measured
  float power = 0.0f;            // W (averaged when averaging is on)
  float powerdBm = 0.0f;         // dBm; -200 for a power of 0
};

class CQPiBMeasBandList {
 public:
  // Room for count bands, all fields zero (not the band defaults); size 0.
  explicit CQPiBMeasBandList(int count);
  ~CQPiBMeasBandList();
  CQPiBMeasBandList(const CQPiBMeasBandList&) = delete;
  CQPiBMeasBandList& operator=(const CQPiBMeasBandList&) = delete;

  int GetSize() const { return size_; }
  int GetCapacity() const { return capacity_; }
  // count new bands, all fields zero; size = capacity = count (0 or less: none).
  void SetSize(int count);
  // The band at i, owned by the list. "Empty list." without bands,
  // "Invalid item index." outside 0 .. size - 1.
  CQPiBMeasBand* GetItem(int i);
  // Copies band into item i ("NULL pointer to item to set in list." for null).
  void SetItem(int i, const CQPiBMeasBand* band);
  // Copies other's bands (growing when needed) and its size; null: nothing.
  void Set(const CQPiBMeasBandList* other);
  void ResetAveraging();

 private:
  void Allocate(int count, bool zero);

  int size_ = 0;
  int capacity_ = 0;
  CQPiBMeasBand* bands_ = nullptr;
};

class CQPiBMeasurement {
 public:
  CQPiBMeasurement() = default;
  ~CQPiBMeasurement();
  CQPiBMeasurement(const CQPiBMeasurement&) = delete;
  CQPiBMeasurement& operator=(const CQPiBMeasurement&) = delete;

  // The window's noise bandwidth in Hz (CQAvgSpectrum::GetNBW); 0 means not set.
  void SetNoiseBW(double nbw) { noiseBW_ = nbw; }
  // Copies the spectrum (watts per bin); null copies nothing.
  void SetSpectrum(const CQFArrayFD* spectrum);
  // The list is not owned.
  void SetBandList(CQPiBMeasBandList* list) { list_ = list; }
  // Measures every band of the list into the bands themselves.
  void Compute();

 private:
  double noiseBW_ = 0.0;
  CQPiBMeasBandList* list_ = nullptr;
  CQFArrayFD* spectrum_ = nullptr;
};
