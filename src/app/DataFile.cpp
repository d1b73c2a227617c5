#include "app/DataFile.h"

#include "appdata/AppDataPath.h"
#include "gui/Application.h"

namespace app {

std::wstring DataFileRelativeName(const std::wstring& exeFileName) {
    size_t slash = exeFileName.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? exeFileName : exeFileName.substr(slash + 1);
    size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos)
        name.erase(dot);
    return L"Tamberlow\\Kestrav\\" + name + L".xml";
}

const std::wstring& DataFileName() {
    static const std::wstring name = appdata::AppDataPath(DataFileRelativeName(gui::Application::ExePath()));
    return name;
}

} // namespace app
