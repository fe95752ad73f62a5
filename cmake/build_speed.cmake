# Helpers that make a cold build (an empty compiler cache, as on CI) cheaper without
# changing what is built.

# The standard headers nearly every suite includes. The core and the command-line
# library compile without a precompiled header: their sources are small, and loading
# one cost them more than it saved.
set(TESSALY_PCH_STD_HEADERS
    <algorithm> <array> <cstdint> <cstring> <filesystem> <functional> <map> <memory>
    <optional> <set> <span> <sstream> <string> <string_view> <system_error> <utility>
    <vector>)

# The Qt headers most of the windows and their suites include.
set(TESSALY_PCH_QT_WIDGETS_HEADERS
    <QAction> <QApplication> <QCalendarWidget> <QCheckBox> <QComboBox> <QDialog>
    <QDialogButtonBox> <QDir> <QFile> <QFileInfo> <QFormLayout> <QGridLayout> <QGroupBox>
    <QHBoxLayout> <QHeaderView> <QLabel> <QLineEdit> <QListWidget> <QMdiArea>
    <QMdiSubWindow> <QMenu> <QPainter> <QPlainTextEdit> <QPushButton> <QRadioButton>
    <QString> <QStyle> <QTabBar> <QTabWidget> <QTimer> <QToolButton> <QTreeWidget>
    <QVBoxLayout> <QWidget>)

# tessaly_precompile(TARGET header...): the given headers become TARGET's precompiled
# header when TESSALY_PCH is on.
function(tessaly_precompile target)
    if(TESSALY_PCH)
        target_precompile_headers(${target} PRIVATE ${ARGN})
    endif()
endfunction()

# tessaly_precompile_reuse(TARGET FROM): TARGET compiles with FROM's precompiled header
# (same flags), so the header is compiled once for a family of executables.
function(tessaly_precompile_reuse target from)
    if(TESSALY_PCH)
        target_precompile_headers(${target} REUSE_FROM ${from})
    endif()
endfunction()

# The test programs link with lld when it is there: linking is a large part of a cold
# build of the suites, and the shipped programs keep the default linker.
include(CheckLinkerFlag)
check_linker_flag(CXX -fuse-ld=lld TESSALY_HAVE_LLD)
function(tessaly_fast_link target)
    if(TESSALY_HAVE_LLD)
        target_link_options(${target} PRIVATE -fuse-ld=lld)
    endif()
endfunction()

# Line tables only, in the builds that carry debug information: a backtrace and the
# sanitizers' reports name file and line with them, and full debug information for the
# Qt, standard and test framework templates costs about a quarter of a cold build.
# TESSALY_FULL_DEBUG_INFO=ON brings it back for a debugger.
option(TESSALY_FULL_DEBUG_INFO "Full debug information instead of line tables only" OFF)
if(NOT TESSALY_FULL_DEBUG_INFO)
    add_compile_options($<$<CONFIG:Debug,RelWithDebInfo>:-g1>)
endif()

# The suites' own code is compiled without optimisation in an optimised build: what
# they exercise is the optimised libraries, and their own code (test framework macros,
# Qt Test) then compiles in about two thirds of the time.
function(tessaly_test_compile_options target)
    if(CMAKE_BUILD_TYPE STREQUAL "RelWithDebInfo")
        target_compile_options(${target} PRIVATE -O0)
    endif()
endfunction()
