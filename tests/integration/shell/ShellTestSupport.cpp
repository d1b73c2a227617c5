#include "ShellTestSupport.h"

#include "shell/ShellModule.h"
#include "support/ShellModuleEnvironment.h"

namespace shelltest {

bool SameIDList(PCIDLIST_ABSOLUTE a, PCIDLIST_ABSOLUTE b) {
    return a != nullptr && b != nullptr && shell::DesktopFolder()->CompareIDs(0, a, b) == S_OK;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                  static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

} // namespace shelltest
