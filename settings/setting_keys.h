// SPDX-License-Identifier: GPL-3.0-or-later
// The section and the ten keys of the settings file.
#pragma once

// The one section of the settings file.
inline constexpr char16_t kSettingsSection[] = u"基本设置";

inline constexpr char16_t kSetOnTopKey[] = u"SetOnTop";        // "1" keeps the window on top
inline constexpr char16_t kWebOnlineKey[] = u"WebOnline";      // the credit line's address
inline constexpr char16_t kToolTipTextKey[] = u"ToolTipText";  // the credit line's tooltip
inline constexpr char16_t kAboutKey[] = u"About";              // written on first run only
inline constexpr char16_t kMeTitleKey[] = u"MeTitle";          // written on first run only
inline constexpr char16_t kMeLabel1Key[] = u"MeLabel1";        // caption of `Label1`
inline constexpr char16_t kMeLabel2Key[] = u"MeLabel2";        // caption of `Label2`
inline constexpr char16_t kMeLabel3Key[] = u"MeLabel3";        // caption of `Label3`
inline constexpr char16_t kMeSetOnTopKey[] = u"MeSetOnTop";    // caption of `ChkSetOnTop`
inline constexpr char16_t kMeCmmsearchKey[] = u"MeCmmsearch";  // caption of `Cmmsearch`
