# Source lists. The Qt layer's files are named here; every other .cpp under the subsystem folders
# belongs to the core library. Tests whose names end in UiTest.cpp drive widgets.

set(VEMURION_UI_SOURCES
    src/app/MainWindow.cpp
    src/app/MainWindow.h
    src/app/MainWindowLayout.cpp
    src/app/CommandTable.cpp
    src/app/CommandTable.h
    src/app/QtPrompts.cpp
    src/app/QtPrompts.h
    src/app/QtClipboard.cpp
    src/app/QtClipboard.h
    src/app/Icons.cpp
    src/app/Icons.h
    src/app/AboutBox.cpp
    src/app/AboutBox.h
    src/app/QtShell.cpp
    src/app/QtShell.h
    src/app/Application.cpp
    src/app/Application.h
    src/app/ClosingPress.cpp
    src/app/ClosingPress.h
    src/editor/EditCanvas.cpp
    src/editor/EditCanvas.h
    src/framelist/UpDown.cpp
    src/framelist/UpDown.h
    src/framelist/FrameSlot.cpp
    src/framelist/FrameSlot.h
    src/import/SelectionDialog.cpp
    src/import/SelectionDialog.h
    src/import/PictureLoader.cpp
    src/import/PictureLoader.h
    src/publish/TagDialog.cpp
    src/publish/TagDialog.h
)
list(TRANSFORM VEMURION_UI_SOURCES PREPEND ${CMAKE_SOURCE_DIR}/)

file(GLOB VEMURION_CORE_SOURCES CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/src/document/*.cpp
    ${CMAKE_SOURCE_DIR}/src/files/*.cpp
    ${CMAKE_SOURCE_DIR}/src/editor/*.cpp
    ${CMAKE_SOURCE_DIR}/src/framelist/*.cpp
    ${CMAKE_SOURCE_DIR}/src/import/*.cpp
    ${CMAKE_SOURCE_DIR}/src/publish/*.cpp
    ${CMAKE_SOURCE_DIR}/src/app/*.cpp)
list(REMOVE_ITEM VEMURION_CORE_SOURCES ${VEMURION_UI_SOURCES} ${CMAKE_SOURCE_DIR}/src/app/main.cpp)

file(GLOB_RECURSE VEMURION_ALL_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/*.cpp)
set(VEMURION_CORE_TEST_SOURCES)
set(VEMURION_UI_TEST_SOURCES)
foreach(file ${VEMURION_ALL_TEST_SOURCES})
    if(file MATCHES "/tests/support/Ui")
        list(APPEND VEMURION_UI_TEST_SOURCES ${file})
    elseif(file MATCHES "/tests/support/")
        list(APPEND VEMURION_CORE_TEST_SOURCES ${file})
        list(APPEND VEMURION_UI_TEST_SOURCES ${file})
    elseif(file MATCHES "UiTest\\.cpp$")
        list(APPEND VEMURION_UI_TEST_SOURCES ${file})
    else()
        list(APPEND VEMURION_CORE_TEST_SOURCES ${file})
    endif()
endforeach()

file(GLOB VEMURION_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
