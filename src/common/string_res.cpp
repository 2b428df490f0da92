#include "string_res.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <unordered_map>

#include "automation_error.h"
#include "number_text.h"
#include "paths.h"
#include "text.h"

namespace zephra::common {

namespace {

using Catalogue = std::unordered_map<int32_t, std::string>;

struct ModuleState {
  bool initialised = false;
  std::string code;
  // Catalogues loaded so far, by file name.
  std::map<std::string, std::shared_ptr<const Catalogue>> loaded;
  std::string helpFile;
  std::function<std::string()> hostDirectory;
};

ModuleState& State() {
  static ModuleState s;
  return s;
}

std::string Unescape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) {
      const char n = text[i + 1];
      if (n == 'n') {
        out.push_back('\n');
        ++i;
        continue;
      }
      if (n == 't') {
        out.push_back('\t');
        ++i;
        continue;
      }
      if (n == 'r') {
        out.push_back('\r');
        ++i;
        continue;
      }
      if (n == '\\') {
        out.push_back('\\');
        ++i;
        continue;
      }
    }
    out.push_back(text[i]);
  }
  return out;
}

std::shared_ptr<const Catalogue> ParseCatalogue(const std::string& bytes, bool pseudo) {
  auto cat = std::make_shared<Catalogue>();
  size_t pos = 0;
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) pos = 3;
  while (pos < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = bytes.size();
    std::string_view line(bytes.data() + pos, end - pos);
    pos = end;
    if (pos < bytes.size() && bytes[pos] == '\r') ++pos;
    if (pos < bytes.size() && bytes[pos] == '\n') ++pos;
    if (line.empty() || line[0] == '#') continue;
    const size_t tab = line.find('\t');
    if (tab == std::string_view::npos) continue;
    const auto number = ParseNumber(line.substr(0, tab));
    if (!number) continue;
    std::string text = Unescape(line.substr(tab + 1));
    if (pseudo) text = "\xC2\xBB" + text + "\xC2\xAB";
    (*cat)[static_cast<int32_t>(*number)] = std::move(text);
  }
  return cat;
}

std::shared_ptr<const Catalogue> LoadCatalogue(int32_t base) {
  ModuleState& s = State();
  char name[32];
  std::snprintf(name, sizeof name, "%s%05d.txt", s.code.c_str(), base);
  auto it = s.loaded.find(name);
  if (it != s.loaded.end()) return it->second;
  const bool pseudo = s.code == "PIG";
  char fileName[32];
  std::snprintf(fileName, sizeof fileName, "%s%05d.txt", pseudo ? "ENU" : s.code.c_str(), base);
  const std::string path = JoinPath(JoinPath(ResourceDirectory(), "lang"), fileName);
  if (!FileExists(path)) return nullptr;
  std::string bytes;
  try {
    bytes = ReadFileBytes(path, "GetMessage");
  } catch (const AutomationError&) {
    return nullptr;
  }
  auto cat = ParseCatalogue(bytes, pseudo);
  s.loaded.emplace(name, cat);
  return cat;
}

}  // namespace

void SetLanguage(int32_t language) {
  ModuleState& s = State();
  s.loaded.clear();
  s.code = LanguageCode(language);
  s.initialised = true;
}

void ReleaseLanguage() {
  ModuleState& s = State();
  s.loaded.clear();
  s.code.clear();
  s.initialised = false;
}

bool LanguageInitialised() { return State().initialised; }

std::string CurrentLanguageCode() { return State().code; }

std::string GetMessage(int32_t number) {
  if (!State().initialised) return "";
  const int32_t base = number / 1000 * 1000;
  auto cat = LoadCatalogue(base);
  if (!cat) return "Error: Resource File Not Found";
  auto it = cat->find(number);
  if (it != cat->end()) return it->second;
  if (number == base) return "";
  return FormatMessage(base, {Variant(std::to_string(number))});
}

std::string FormatMessage(int32_t number, const std::vector<Variant>& args) {
  if (!State().initialised) return "";
  std::string text = GetMessage(number);
  for (size_t i = 0; i < args.size() && i < 10; ++i) {
    if (args[i].IsMissing()) continue;
    std::string argText;
    try {
      argText = args[i].ToString();
    } catch (const AutomationError&) {
      continue;
    }
    text = ReplaceAll(text, "%" + std::to_string(i) + "%", argText);
  }
  return text;
}

std::string FormatMessage(int32_t number, std::initializer_list<Variant> args) {
  return FormatMessage(number, std::vector<Variant>(args));
}

std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement) {
  if (find.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  size_t pos = 0;
  while (true) {
    const size_t hit = text.find(find, pos);
    if (hit == std::string_view::npos) break;
    out.append(text.substr(pos, hit - pos));
    out.append(replacement);
    pos = hit + find.size();
  }
  out.append(text.substr(pos));
  return out;
}

std::string ResolveText(std::string_view text) {
  if (!State().initialised) return "";
  if (!text.empty() && text[0] == '@') {
    int32_t number = 0;
    try {
      number = Variant(std::string(text.substr(1))).ToLong();
    } catch (const AutomationError&) {
      return "[" + std::string(text) + "]";
    }
    return GetMessage(number);
  }
  if (text.size() == 1) return std::string(text);
  return "[" + std::string(text) + "]";
}

std::string LanguageCode(int32_t language) {
  switch (language) {
    case 1028: return "CHT";
    case 1030: return "DAN";
    case 1031: return "DEU";
    case 1034: return "ESP";
    case 1036: return "FRA";
    case 1040: return "ITA";
    case 1041: return "JPN";
    case 1042: return "KOR";
    case 1043: return "NLD";
    case 1044: return "NOR";
    case 1046: return "PTB";
    case 1053: return "SVE";
    case 2052: return "CHS";
    case 2055: return "DES";
    case 2057: return "ENG";
    case 2058: return "ESM";
    case 2060: return "FRB";
    case 2064: return "ITS";
    case 2067: return "NLB";
    case 2068: return "NON";
    case 2070: return "PTG";
    case 3079: return "DEA";
    case 3081: return "ENA";
    case 3082: return "ESN";
    case 3084: return "FRC";
    case 4105: return "ENC";
    case 4108: return "FRS";
    case 5129: return "ENZ";
    case 6153: return "ENI";
    case kLanguagePseudo: return "PIG";
    default: return "ENU";
  }
}

int32_t UserDefaultLanguage() {
  const char* locale = nullptr;
  for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* v = std::getenv(var);
    if (v && *v) {
      locale = v;
      break;
    }
  }
  if (!locale) return kLanguageEnglish;
  std::string name(locale);
  name = name.substr(0, name.find_first_of(".@"));
  static const std::map<std::string, int32_t> kFull = {
      {"zh_TW", 1028}, {"da_DK", 1030}, {"de_DE", 1031}, {"es_ES", 3082}, {"fr_FR", 1036},
      {"it_IT", 1040}, {"ja_JP", 1041}, {"ko_KR", 1042}, {"nl_NL", 1043}, {"nb_NO", 1044},
      {"pt_BR", 1046}, {"sv_SE", 1053}, {"zh_CN", 2052}, {"de_CH", 2055}, {"en_GB", 2057},
      {"es_MX", 2058}, {"fr_BE", 2060}, {"it_CH", 2064}, {"nl_BE", 2067}, {"nn_NO", 2068},
      {"pt_PT", 2070}, {"de_AT", 3079}, {"en_AU", 3081}, {"fr_CA", 3084}, {"en_CA", 4105},
      {"fr_CH", 4108}, {"en_NZ", 5129}, {"en_IE", 6153}, {"en_US", 1033}};
  static const std::map<std::string, int32_t> kLanguageOnly = {
      {"da", 1030}, {"de", 1031}, {"en", 1033}, {"es", 3082}, {"fr", 1036}, {"it", 1040},
      {"ja", 1041}, {"ko", 1042}, {"nl", 1043}, {"nb", 1044}, {"no", 1044}, {"pt", 2070},
      {"sv", 1053}, {"zh", 2052}};
  if (auto it = kFull.find(name); it != kFull.end()) return it->second;
  if (auto it = kLanguageOnly.find(name.substr(0, name.find('_'))); it != kLanguageOnly.end()) {
    return it->second;
  }
  return kLanguageEnglish;
}

bool SelectHelpFile(int32_t language, std::string_view prefix) {
  ModuleState& s = State();
  try {
    const std::string helpDir = JoinPath(ResourceDirectory(), "help");
    std::string hostDir;
    if (s.hostDirectory) hostDir = s.hostDirectory();
    const std::string own = std::string(prefix) + LanguageCode(language) + ".html";
    const std::string english = std::string(prefix) + "ENU.html";
    std::vector<std::string> candidates = {JoinPath(helpDir, own)};
    if (!hostDir.empty()) candidates.push_back(JoinPath(hostDir, own));
    candidates.push_back(JoinPath(helpDir, english));
    if (!hostDir.empty()) candidates.push_back(JoinPath(hostDir, english));
    for (const std::string& c : candidates) {
      if (FileExists(c)) {
        s.helpFile = c;
        return true;
      }
    }
  } catch (...) {
    return false;
  }
  return false;
}

bool IsHtmlHelp() {
  const std::string& f = State().helpFile;
  return EndsWithNoCase(f, ".html") || EndsWithNoCase(f, ".htm") || EndsWithNoCase(f, ".chm");
}

std::string HelpFile() { return State().helpFile; }

void ClearHelpFile() { State().helpFile.clear(); }

std::string HelpFileForName(std::string_view name) {
  std::string n(TrimSpaces(name));
  if (EndsWithNoCase(n, ".chm") || EndsWithNoCase(n, ".hlp")) {
    n.resize(n.size() - 4);
    n += ".html";
  }
  return n;
}

void SetHostDirectoryProvider(std::function<std::string()> provider) {
  State().hostDirectory = std::move(provider);
}

}  // namespace zephra::common
