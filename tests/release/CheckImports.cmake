# Fails when Kestrav.exe imports a DLL that not every Windows installation has, so
# that the one downloaded file runs by itself. Usage: cmake -DEXE=... -DOBJDUMP=... -P
cmake_minimum_required(VERSION 3.25)
set(allowed
    advapi32.dll comctl32.dll comdlg32.dll gdi32.dll imm32.dll kernel32.dll msimg32.dll msvcrt.dll
    ole32.dll oleaut32.dll shell32.dll shlwapi.dll user32.dll uxtheme.dll version.dll)

execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} -p ${EXE} failed (${status})")
endif()

# Both the import table and a delay-import table list their DLLs as "DLL Name: x".
string(REGEX MATCHALL "DLL Name: [^\n]+" lines "${dump}")
set(imports "")
set(foreign "")
foreach(line ${lines})
    string(REGEX REPLACE "DLL Name: " "" dll "${line}")
    string(STRIP "${dll}" dll)
    string(TOLOWER "${dll}" dll)
    list(APPEND imports ${dll})
    if(NOT dll IN_LIST allowed)
        list(APPEND foreign ${dll})
    endif()
endforeach()
list(REMOVE_DUPLICATES imports)
file(SIZE ${EXE} size)
message(STATUS "Kestrav.exe: ${size} bytes, imports ${imports}")
if(NOT "kernel32.dll" IN_LIST imports)
    message(FATAL_ERROR "no import table read from ${EXE}")
endif()
if(foreign)
    message(FATAL_ERROR "imports outside the system DLLs: ${foreign}")
endif()
if(NOT dump MATCHES "Subsystem[ \t]+00000002")
    message(FATAL_ERROR "not a Windows GUI program")
endif()
