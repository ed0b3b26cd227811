# Third-party libraries: static archives built by scripts/setup.sh into
# .deps/<target>/ (GoogleTest for Linux comes from the system).

set(WQ_DEPS_PREFIX ${CMAKE_SOURCE_DIR}/.deps/${WQ_TARGET})
if(NOT EXISTS ${WQ_DEPS_PREFIX}/lib)
  message(FATAL_ERROR "Dependencies for ${WQ_TARGET} are missing: run scripts/setup.sh")
endif()

function(wq_import_static name file)
  add_library(${name} STATIC IMPORTED GLOBAL)
  set_target_properties(${name} PROPERTIES
    IMPORTED_LOCATION ${WQ_DEPS_PREFIX}/lib/${file}
    INTERFACE_INCLUDE_DIRECTORIES ${WQ_DEPS_PREFIX}/include)
endfunction()

wq_import_static(dep_pcre2_16 libpcre2-16.a)
set_property(TARGET dep_pcre2_16 PROPERTY INTERFACE_COMPILE_DEFINITIONS PCRE2_STATIC PCRE2_CODE_UNIT_WIDTH=16)
wq_import_static(dep_pugixml libpugixml.a)
# Built with XML_Char as UTF-16 (unsigned short): its header needs XML_UNICODE.
wq_import_static(dep_expat libexpatw.a)
set_property(TARGET dep_expat PROPERTY INTERFACE_COMPILE_DEFINITIONS XML_UNICODE)
if(WIN32)
  set_property(TARGET dep_expat APPEND PROPERTY INTERFACE_COMPILE_DEFINITIONS XML_STATIC)
endif()
wq_import_static(dep_md4c libmd4c.a)
wq_import_static(dep_md4c_html libmd4c-html.a)
set_property(TARGET dep_md4c_html PROPERTY INTERFACE_LINK_LIBRARIES dep_md4c)
wq_import_static(dep_zlib libz.a)
wq_import_static(dep_minizip libminizip.a)
set_property(TARGET dep_minizip PROPERTY INTERFACE_LINK_LIBRARIES dep_zlib)

# The release products have no tests, and a machine that only builds them
# needs no test framework.
if(NOT WQ_RELEASE AND WIN32)
  wq_import_static(dep_gtest libgtest.a)
  wq_import_static(dep_gtest_main libgtest_main.a)
  set_property(TARGET dep_gtest_main PROPERTY INTERFACE_LINK_LIBRARIES dep_gtest)
elseif(NOT WQ_RELEASE)
  find_package(GTest REQUIRED)
  add_library(dep_gtest ALIAS GTest::gtest)
  add_library(dep_gtest_main ALIAS GTest::gtest_main)
endif()
