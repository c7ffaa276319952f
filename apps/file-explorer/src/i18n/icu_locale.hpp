#pragma once
// Shared by the room's sources only: ICU stays out of the public header.
#include <unicode/locid.h>

#include "i18n/i18n.hpp"

namespace files::i18n::detail {

// The locale that numbers, dates and plural rules follow: qps reads as en-US, and an
// identifier ICU cannot take becomes the root locale.
icu::Locale formatting_locale(const LocaleId& locale);

}  // namespace files::i18n::detail
