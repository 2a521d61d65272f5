# The portable Windows folder: besides the programs, the Qt DLLs and plugins
# tesmara.exe loads, the MinGW runtime those DLLs need, Qt's Chinese
# translations and a short README.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/README.txt DESTINATION .)
if(NOT TARGET tesmara)
    return()
endif()

install(FILES $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>
    DESTINATION .)
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)
# Paths relative to the folder, wherever it is unpacked.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/qt.conf DESTINATION .)

# The Qt DLLs are linked against the shared MinGW runtime.
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
        OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${path}")
        message(FATAL_ERROR "the MinGW runtime ${dll} was not found")
    endif()
    install(FILES ${path} DESTINATION .)
endforeach()

# Qt's own catalogs (data, the same for every platform), from Debian's qt6-translations-l10n.
install(FILES /usr/share/qt6/translations/qt_zh_CN.qm /usr/share/qt6/translations/qtbase_zh_CN.qm
    DESTINATION translations)
