// The ids of the standard buttons, which are also the end codes of dialogs
// and the answers of message boxes (the system's own numbers). One header, so
// that a file may use dialogs and message boxes together.
#pragma once

namespace lv {

inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdAbort = 3;
inline constexpr int kIdRetry = 4;
inline constexpr int kIdIgnore = 5;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

}  // namespace lv
