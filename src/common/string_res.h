#pragma once
// Localized messages by number, caption references and the choice of help file.
//
// Catalogues live in the resource directory under lang/, one per language code and range of
// 1000 numbers: lang/ENU30000.txt. The pseudo-language PIG is made from the English catalogues
// as they load, each text between "»" and "«".

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "variant.h"

namespace zephra::common {

inline constexpr int32_t kLanguagePseudo = -1;
inline constexpr int32_t kLanguageEnglish = 1033;
inline constexpr int32_t kLanguageGerman = 1031;

void SetLanguage(int32_t language);
void ReleaseLanguage();
bool LanguageInitialised();
// The three-letter code of the language set, empty when none is.
std::string CurrentLanguageCode();

std::string GetMessage(int32_t number);
// Replaces %0% .. %9% by the arguments given; a Missing argument leaves its placeholder, and an
// argument that cannot become text is skipped.
std::string FormatMessage(int32_t number, const std::vector<Variant>& args);
std::string FormatMessage(int32_t number, std::initializer_list<Variant> args);
inline std::string FormatMessage(int32_t number) { return FormatMessage(number, std::vector<Variant>{}); }

std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement);
// "@30145" becomes message 30145, one character stays as it is, anything else is put in
// square brackets as an unresolved caption.
std::string ResolveText(std::string_view text);
std::string LanguageCode(int32_t language);

// The language identifier of the user's POSIX locale (LC_ALL, LC_MESSAGES, LANG); 1033 when
// unknown.
int32_t UserDefaultLanguage();

// Help files: data/help/<prefix><code>.html, then the host's folder, then the English ones.
bool SelectHelpFile(int32_t language, std::string_view prefix);
bool IsHtmlHelp();
std::string HelpFile();
void ClearHelpFile();
// A help file named by a document or menu entry (".chm" or ".hlp" made elsewhere) as this
// platform keeps it: the same name with ".html".
std::string HelpFileForName(std::string_view name);
// The host's installation folder for help look-ups; empty when there is no host connection.
void SetHostDirectoryProvider(std::function<std::string()> provider);

}  // namespace zephra::common
