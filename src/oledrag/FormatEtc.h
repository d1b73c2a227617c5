#pragma once
// FORMATETC descriptions for asking a data object for one of its formats.
#include <windows.h>
#include <objidl.h>

namespace oledrag {

inline FORMATETC MakeFormatEtc(CLIPFORMAT cfFormat, DVTARGETDEVICE* ptd, DWORD dwAspect, LONG lindex,
                               DWORD tymed) {
    return FORMATETC{cfFormat, ptd, dwAspect, lindex, tymed};
}

// The whole content, for no particular device.
inline FORMATETC MakeContentFormatEtc(CLIPFORMAT cfFormat, LONG lindex, DWORD tymed) {
    return MakeFormatEtc(cfFormat, nullptr, DVASPECT_CONTENT, lindex, tymed);
}

} // namespace oledrag
