// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Style flags and results of a message box, with the values of the Windows message
// box interface, so that callers can pass the flags they know.
namespace msgbox {

inline constexpr unsigned Ok = 0x0;
inline constexpr unsigned OkCancel = 0x1;
inline constexpr unsigned AbortRetryIgnore = 0x2;
inline constexpr unsigned YesNoCancel = 0x3;
inline constexpr unsigned YesNo = 0x4;
inline constexpr unsigned RetryCancel = 0x5;
inline constexpr unsigned ButtonsMask = 0xF;

inline constexpr unsigned IconError = 0x10;
inline constexpr unsigned IconQuestion = 0x20;
inline constexpr unsigned IconWarning = 0x30;
inline constexpr unsigned IconInformation = 0x40;
inline constexpr unsigned IconMask = 0xF0;

inline constexpr unsigned DefaultButton2 = 0x100;
inline constexpr unsigned DefaultButton3 = 0x200;
inline constexpr unsigned DefaultButtonMask = 0xF00;

inline constexpr int IdOk = 1;
inline constexpr int IdCancel = 2;
inline constexpr int IdAbort = 3;
inline constexpr int IdRetry = 4;
inline constexpr int IdIgnore = 5;
inline constexpr int IdYes = 6;
inline constexpr int IdNo = 7;

}  // namespace msgbox
