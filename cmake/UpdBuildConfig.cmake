# Build configurations: builds/<name>/build.conf describes one update build
# (product, selection, special edition, resources to embed); the format is
# explained at the top of builds/default/build.conf.
#
#   upd_add_build_config(<name> <file>)
#     Reads and checks <file> and creates
#       upd::build_<name>            interface library with the generated
#                                    build_config.h (the build's constants) and
#                                    build_resources.h (EmbeddedResources())
#       upd_build_<name>_resources   object library holding the resources: a
#                                    .rc of RCDATA resources on Windows, the same
#                                    bytes linked in elsewhere
#     Payloads are made at build time by `patchtool encode`; files of the
#     sample product (@sample/...) by `patchtool sample`.
#
#   upd_embed_build_resources(<target> [<name>])
#     Gives an executable the resources of build <name> (default:
#     UPD_BUILD_CONFIG) and upd::build_<name>: on Windows as RCDATA resources of
#     the executable, found by platform::Resources(); elsewhere in the in-memory
#     table that upd::build::EmbeddedResources() answers.
#
# Expects, set by builds/CMakeLists.txt: UPD_PATCHTOOL (the command that runs a
# patchtool on the build machine), UPD_PATCHTOOL_DEPENDS (what to depend on for
# it), UPD_SAMPLE_DIR and UPD_SAMPLE_FILES (the sample product's files).

function(_upd_build_config_error file line message)
  message(FATAL_ERROR "${file}:${line}: ${message}")
endfunction()

# Checks that `value` is a whole number within [low, high].
function(_upd_check_number file line key value low high)
  if(NOT value MATCHES "^-?[0-9]+$")
    _upd_build_config_error(${file} ${line} "${key} must be a whole number, not '${value}'")
  endif()
  if(value LESS low OR value GREATER high)
    _upd_build_config_error(${file} ${line} "${key} must be ${low} to ${high}, not ${value}")
  endif()
endfunction()

function(_upd_check_yes_no file line key value)
  if(NOT value MATCHES "^(yes|no)$")
    _upd_build_config_error(${file} ${line} "${key} must be yes or no, not '${value}'")
  endif()
endfunction()

# Writes `content` to `path` only when it differs, so that unchanged generated
# files do not cause rebuilds.
function(_upd_write_if_changed path content)
  file(WRITE ${path}.tmp "${content}")
  configure_file(${path}.tmp ${path} COPYONLY)
  file(REMOVE ${path}.tmp)
endfunction()

function(upd_add_build_config name file)
  get_filename_component(folder ${file} DIRECTORY)
  set(out ${CMAKE_BINARY_DIR}/builds/${name})
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})

  file(READ ${file} text)
  # A CMake list cannot hold ';': it is allowed in comments only.
  string(REPLACE ";" "<semicolon>" text "${text}")
  string(REPLACE "\r" "" text "${text}")
  string(REPLACE "\n" ";" lines "${text}")

  set(settings AppId PatchKind SelectedEntries CurrentPatchNumber SpecialEditionInfo.Present
      SpecialEditionInfo.ScrambledCaption SpecialEditionInfo.UseForeignLanguage)
  set(optional SpecialEditionInfo.ScrambledCaption)
  set(resource_names)  # upper-case, to refuse names that differ only in case
  set(rc_lines)
  set(bins)
  set(asm_blocks)
  set(table_adds)
  set(extern_decls)
  set(uses_sample FALSE)
  set(header_resources)
  set(line 0)
  foreach(raw IN LISTS lines)
    math(EXPR line "${line} + 1")
    string(STRIP "${raw}" entry)
    if(entry STREQUAL "" OR entry MATCHES "^#")
      continue()
    endif()
    if(entry MATCHES "<semicolon>")
      _upd_build_config_error(${file} ${line} "';' is allowed in comments only")
    endif()

    if(entry MATCHES "^(payload|script)[ \t]+([^ \t=]+)[ \t]*=[ \t]*(.*)$")
      set(kind ${CMAKE_MATCH_1})
      set(rname ${CMAKE_MATCH_2})
      separate_arguments(parts UNIX_COMMAND "${CMAKE_MATCH_3}")
      if(NOT rname MATCHES "^[A-Za-z_][A-Za-z0-9_]*$")
        _upd_build_config_error(${file} ${line} "resource name '${rname}': letters, digits and '_' only")
      endif()
      string(TOUPPER ${rname} upper)
      if(upper IN_LIST resource_names)
        _upd_build_config_error(${file} ${line} "resource ${rname} is named twice")
      endif()
      list(APPEND resource_names ${upper})
      list(LENGTH parts count)
      if(kind STREQUAL "script" AND NOT count EQUAL 1)
        _upd_build_config_error(${file} ${line} "script ${rname}: expected 'script NAME = FILE'")
      endif()
      if(kind STREQUAL "payload" AND NOT (count EQUAL 1 OR count EQUAL 3))
        _upd_build_config_error(${file} ${line} "payload ${rname}: expected 'payload NAME = FILE [OFFSET LENGTH]'")
      endif()
      list(GET parts 0 source)
      if(source MATCHES "^@sample/(.+)$")
        set(uses_sample TRUE)
        set(source ${UPD_SAMPLE_DIR}/${CMAKE_MATCH_1})
        if(NOT source IN_LIST UPD_SAMPLE_FILES)
          _upd_build_config_error(${file} ${line} "the sample product has no file ${CMAKE_MATCH_1}")
        endif()
      else()
        get_filename_component(source ${source} ABSOLUTE BASE_DIR ${folder})
        if(NOT EXISTS ${source})
          _upd_build_config_error(${file} ${line} "${kind} ${rname}: no file ${source}")
        endif()
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
      endif()
      if(source MATCHES "[\"\\\\]")
        _upd_build_config_error(${file} ${line} "${kind} ${rname}: quotes and backslashes cannot be in the path")
      endif()

      if(kind STREQUAL "payload")
        set(bin ${out}/${rname}.bin)
        set(range)
        set(offset 0)
        set(length -1)
        if(count EQUAL 3)
          list(GET parts 1 offset)
          list(GET parts 2 length)
          _upd_check_number(${file} ${line} "payload ${rname} offset" "${offset}" 0 2147483647)
          _upd_check_number(${file} ${line} "payload ${rname} length" "${length}" 1 2097152)
          set(range --offset ${offset} --length ${length})
        endif()
        add_custom_command(OUTPUT ${bin}
          COMMAND ${UPD_PATCHTOOL} encode ${source} ${bin} ${range}
          DEPENDS ${source} ${UPD_PATCHTOOL_DEPENDS}
          COMMENT "Encoding payload ${rname} of build ${name}"
          VERBATIM)
        string(APPEND header_resources "    {\"${rname}\", Resource::Kind::Payload, ${offset}, ${length}},\n")
      else()
        set(bin ${source})
        string(APPEND header_resources "    {\"${rname}\", Resource::Kind::Script, 0, -1},\n")
      endif()
      list(APPEND bins ${bin})
      string(APPEND rc_lines "${rname} RCDATA \"${bin}\"\n")
      string(MAKE_C_IDENTIFIER "upd_build_${name}_${rname}" symbol)
      string(APPEND asm_blocks
        "    \".globl ${symbol}\\n.hidden ${symbol}\\n.balign 16\\n${symbol}:\\n.incbin \\\"${bin}\\\"\\n\"\n"
        "    \".globl ${symbol}_end\\n.hidden ${symbol}_end\\n${symbol}_end:\\n\"\n")
      string(APPEND extern_decls "extern \"C\" const uint8_t ${symbol}[], ${symbol}_end[];\n")
      string(APPEND table_adds
        "    table.Add(\"${rname}\", std::vector<uint8_t>(${symbol}, ${symbol}_end));\n")
      continue()
    endif()

    if(NOT entry MATCHES "^([A-Za-z.]+)[ \t]*=[ \t]*(.*)$")
      _upd_build_config_error(${file} ${line} "expected 'Key = value', 'payload NAME = ...' or 'script NAME = ...'")
    endif()
    set(key ${CMAKE_MATCH_1})
    set(value "${CMAKE_MATCH_2}")
    if(NOT key IN_LIST settings)
      string(REPLACE ";" ", " known "${settings}")
      _upd_build_config_error(${file} ${line} "unknown setting ${key} (known: ${known})")
    endif()
    if(DEFINED value_${key})
      _upd_build_config_error(${file} ${line} "${key} is set twice")
    endif()
    set(value_${key} "${value}")
    set(line_${key} ${line})
  endforeach()

  foreach(key IN LISTS settings)
    if(NOT DEFINED value_${key})
      if(key IN_LIST optional)
        set(value_${key} "")
      else()
        message(FATAL_ERROR "${file}: ${key} is missing")
      endif()
    endif()
  endforeach()

  _upd_check_number(${file} ${line_AppId} AppId "${value_AppId}" 1 13)
  _upd_check_number(${file} ${line_PatchKind} PatchKind "${value_PatchKind}" -2147483648 2147483647)
  _upd_check_number(${file} ${line_CurrentPatchNumber} CurrentPatchNumber "${value_CurrentPatchNumber}" 1 33)
  string(REGEX REPLACE "[ \t]*,[ \t]*|[ \t]+" ";" selected "${value_SelectedEntries}")
  set(selected_cpp)
  foreach(n IN LISTS selected)
    _upd_check_number(${file} ${line_SelectedEntries} "a selected entry" "${n}" 1 33)
    list(APPEND selected_cpp ${n})
  endforeach()
  list(LENGTH selected_cpp selected_count)
  string(REPLACE ";" ", " selected_cpp "${selected_cpp}")
  _upd_check_yes_no(${file} ${line_SpecialEditionInfo.Present} SpecialEditionInfo.Present
                    "${value_SpecialEditionInfo.Present}")
  _upd_check_yes_no(${file} ${line_SpecialEditionInfo.UseForeignLanguage} SpecialEditionInfo.UseForeignLanguage
                    "${value_SpecialEditionInfo.UseForeignLanguage}")
  set(caption "${value_SpecialEditionInfo.ScrambledCaption}")
  if(NOT caption MATCHES "^([0-9A-Fa-f][0-9A-Fa-f]([ \t]+|$))*$" OR caption MATCHES "(^|[ \t])00([ \t]|$)")
    _upd_build_config_error(${file} ${line_SpecialEditionInfo.ScrambledCaption}
                            "SpecialEditionInfo.ScrambledCaption: hex bytes 01 to FF separated by spaces")
  endif()
  string(REGEX REPLACE "([0-9A-Fa-f][0-9A-Fa-f])[ \t]*" "\\\\x\\1\" \"" caption_cpp "${caption}")
  set(present false)
  set(foreign false)
  if(value_SpecialEditionInfo.Present STREQUAL "yes")
    set(present true)
  endif()
  if(value_SpecialEditionInfo.UseForeignLanguage STREQUAL "yes")
    set(foreign true)
  endif()
  list(LENGTH bins resource_count)

  file(RELATIVE_PATH source_name ${PROJECT_SOURCE_DIR} ${file})
  _upd_write_if_changed(${out}/include/build_config.h
"#pragma once
// Generated from ${source_name} by cmake/UpdBuildConfig.cmake; do not edit.
// The constants of update build \"${name}\".

#include <array>
#include <cstdint>
#include <string_view>

namespace upd::build {

inline constexpr std::string_view kName = \"${name}\";
inline constexpr int32_t kAppId = ${value_AppId};
inline constexpr int32_t kPatchKind = ${value_PatchKind};
// Catalogue entries the update run processes (ascending order is the run's, not this list's).
inline constexpr std::array<int, ${selected_count}> kSelectedEntries = {${selected_cpp}};
inline constexpr uint8_t kCurrentPatchNumber = ${value_CurrentPatchNumber};

struct SpecialEditionRecord {
  bool Present;
  std::string_view ScrambledCaption;  // single-byte, scrambled
  bool UseForeignLanguage;
};
inline constexpr SpecialEditionRecord kSpecialEditionInfo = {${present}, \"${caption_cpp}\", ${foreign}};

// The RCDATA resources the build embeds. A payload is encoded from `length`
// bytes at `offset` of its file (-1: to the end); a script is embedded as it is.
struct Resource {
  enum class Kind { Payload, Script };
  std::string_view name;
  Kind kind;
  int64_t offset;
  int64_t length;
};
inline constexpr std::array<Resource, ${resource_count}> kResources = {{
${header_resources}}};

}  // namespace upd::build
")

  _upd_write_if_changed(${out}/include/build_resources.h
"#pragma once
// Generated by cmake/UpdBuildConfig.cmake; do not edit.

#include \"platform/resources.h\"

namespace upd::build {

// The resources of the build the executable was linked with: on Windows the
// RCDATA resources of the running executable, elsewhere an in-memory table of
// the same bytes. Install it with platform::ScopedOverride where code should
// find them through platform::Resources().
platform::ResourceSource& EmbeddedResources();

}  // namespace upd::build
")

  add_library(upd_build_${name} INTERFACE)
  add_library(upd::build_${name} ALIAS upd_build_${name})
  target_include_directories(upd_build_${name} INTERFACE ${out}/include)

  if(WIN32)
    _upd_write_if_changed(${out}/resources.rc
      "// Generated from ${source_name}; do not edit.\n${rc_lines}")
    _upd_write_if_changed(${out}/embedded_resources.cpp
"// Generated by cmake/UpdBuildConfig.cmake; do not edit.
#include \"build_resources.h\"

namespace upd::build {

platform::ResourceSource& EmbeddedResources() { return platform::ResourceSource::System(); }

}  // namespace upd::build
")
    set(sources ${out}/resources.rc ${out}/embedded_resources.cpp)
    set(embedding ${out}/resources.rc)
  else()
    _upd_write_if_changed(${out}/embedded_resources.cpp
"// Generated from ${source_name} by cmake/UpdBuildConfig.cmake; do not edit.
// The build's resources linked in byte for byte, for programs without RCDATA.

#include <cstdint>
#include <vector>

#include \"build_resources.h\"

asm(\".pushsection .rodata\\n\"
${asm_blocks}    \".popsection\\n\");
${extern_decls}
namespace upd::build {

platform::ResourceSource& EmbeddedResources() {
  static platform::MemoryResources resources = [] {
    platform::MemoryResources table;
${table_adds}    return table;
  }();
  return resources;
}

}  // namespace upd::build
")
    set(sources ${out}/embedded_resources.cpp)
    set(embedding ${out}/embedded_resources.cpp)
  endif()
  # The encoded payloads are sources of the library, so building it makes
  # them; the file that embeds them is rebuilt whenever one changes. Only
  # builds that link an executable with it make payloads at all.
  add_library(upd_build_${name}_resources OBJECT EXCLUDE_FROM_ALL ${sources} ${bins})
  set_source_files_properties(${embedding} PROPERTIES OBJECT_DEPENDS "${bins}")
  target_link_libraries(upd_build_${name}_resources PUBLIC upd::core upd::build_${name})
  # The sample product is made by its own target first, so that two targets
  # never write its files at the same time.
  if(uses_sample)
    add_dependencies(upd_build_${name}_resources upd_sample)
  endif()
endfunction()

function(upd_embed_build_resources target)
  set(name ${UPD_BUILD_CONFIG})
  if(ARGC GREATER 1)
    set(name ${ARGV1})
  endif()
  if(NOT TARGET upd_build_${name}_resources)
    message(FATAL_ERROR "upd_embed_build_resources(${target}): no build configuration '${name}' under builds/")
  endif()
  target_link_libraries(${target} PRIVATE upd_build_${name}_resources upd::build_${name})
endfunction()
