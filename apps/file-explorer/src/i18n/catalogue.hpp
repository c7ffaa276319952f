#pragma once
// The two catalogue resources, compiled in from resources/*.ftl at build time.
#include <string_view>

namespace files::i18n::catalogue {

extern const std::string_view en_us;  // the source locale
extern const std::string_view de_de;

}  // namespace files::i18n::catalogue
