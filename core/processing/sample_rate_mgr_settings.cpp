#include "core/processing/sample_rate_mgr_settings.h"

void CQSampleRateMgrSettings::CopyFrom(const CQSampleRateMgrSettings* source) {
  if (source == nullptr) return;
  *this = *source;
}
