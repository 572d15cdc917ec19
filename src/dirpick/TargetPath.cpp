#include "dirpick/TargetPath.h"

#include <cstring>

namespace {

constexpr char kExpectedForm[] =
    "\nPodaj katalog docelowy w postaci X:\\katalog, na przykład C:\\Gry\\Jex.";
// Characters no name may hold; the backslash only separates names.
constexpr char kForbidden[] = "/:*?\"<>|";

bool IsDriveLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsForbidden(char c)
{
    return static_cast<unsigned char>(c) < 32 || std::strchr(kForbidden, c) != nullptr;
}

// A name Windows makes as it is written: not empty, not "." or "..", and not
// ending in a dot or a space (Windows would drop them and make a directory
// of another name).
bool IsFaithfulName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.back() != '.' &&
           name.back() != ' ';
}

// Whether every name after "X:\" is faithful; a single trailing backslash
// is allowed.
bool AllNamesFaithful(const std::string& path)
{
    std::string rest = path.substr(3);
    if (!rest.empty() && rest.back() == '\\')
        rest.pop_back();
    for (size_t start = 0;;) {
        const size_t end = rest.find('\\', start);
        if (!IsFaithfulName(rest.substr(start, end - start)))
            return false;
        if (end == std::string::npos)
            return true;
        start = end + 1;
    }
}

std::string Quoted(const char* before, const std::string& path, const char* after)
{
    return before + path + after + kExpectedForm;
}

} // namespace

bool IsDirectoryOnDrive(const std::string& path)
{
    return path.size() > 3 && IsDriveLetter(path[0]) && path[1] == ':' && path[2] == '\\' &&
           path[3] != '\\';
}

std::string TargetPathProblem(const std::string& path, size_t maxLength, bool held)
{
    if (!held)
        return Quoted("Ścieżka '", path,
                      "' zawiera znaki, których program instalacyjny nie obsługuje "
                      "(na przykład litery cyrylicy).\n"
                      "Nazwy katalogów mogą zawierać litery alfabetu łacińskiego, także polskie.");
    if (path.empty())
        return std::string("Nie podano katalogu docelowego.") + kExpectedForm;
    if (!IsDirectoryOnDrive(path))
        return Quoted("Ścieżka '", path, "' nie wskazuje katalogu na dysku.");
    for (char c : path.substr(3)) {
        if (IsForbidden(c))
            return Quoted("Ścieżka '", path,
                          "' zawiera znak niedozwolony w nazwie katalogu.\n"
                          "Nazwy nie mogą zawierać znaków sterujących ani / : * ? \" < > |");
    }
    if (!AllNamesFaithful(path))
        return Quoted("Ścieżka '", path,
                      "' zawiera niepoprawną nazwę katalogu (pustą, \".\", \"..\" "
                      "albo zakończoną kropką lub spacją).");
    if (path.size() > maxLength)
        return "Ścieżka jest za długa: ma " + std::to_string(path.size()) +
               " znaków, a może mieć najwyżej " + std::to_string(maxLength) + "." + kExpectedForm;
    return std::string();
}
