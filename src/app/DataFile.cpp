#include "app/DataFile.h"

#include "appdata/AppDataPath.h"
#include "gui/Application.h"

#include <optional>

namespace app {
namespace {

std::optional<std::wstring>& ChosenName() {
    static std::optional<std::wstring> name;
    return name;
}

} // namespace

std::wstring DataFileRelativeName(const std::wstring& exeFileName) {
    size_t slash = exeFileName.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? exeFileName : exeFileName.substr(slash + 1);
    size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos)
        name.erase(dot);
    return L"Tamberlow\\Kestrav\\" + name + L".xml";
}

const std::wstring& DataFileName() {
    std::optional<std::wstring>& name = ChosenName();
    if (!name)
        name = appdata::AppDataPath(DataFileRelativeName(gui::Application::ExePath()));
    return *name;
}

void SetDataFileName(const std::wstring& fileName) {
    ChosenName() = fileName;
}

std::wstring BrokenFileName(const std::wstring& fileName) {
    return fileName + L".broken";
}

} // namespace app
