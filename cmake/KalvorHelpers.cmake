# Every source file of a folder belongs to its library: files are found by
# globbing, so adding a file never means editing a shared list.
function(kalvor_sources_of out_var dir)
  file(GLOB found CONFIGURE_DEPENDS "${dir}/*.cpp" "${dir}/*.h")
  set(${out_var} ${found} PARENT_SCOPE)
endfunction()

# Headers are included by their path below src/ ("mpeg/frame_header.h").
set(KALVOR_SOURCE_ROOT ${PROJECT_SOURCE_DIR}/src)

# kalvor_layer_headers(target dir): lets target, and whatever links it, include
# the headers of dir by their path below src/, and nothing else of src/. Each
# header is reached through a link in a folder of the build tree that holds
# only this layer's headers, so src/ itself is never an include folder and an
# include of a layer the target does not link is not found.
function(kalvor_layer_headers target dir)
  file(RELATIVE_PATH prefix ${KALVOR_SOURCE_ROOT} ${dir})
  set(root ${CMAKE_BINARY_DIR}/layers/${target})
  # Made again at each configure, so a removed or renamed header leaves no link behind.
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root}/${prefix})
  file(GLOB headers CONFIGURE_DEPENDS "${dir}/*.h")
  foreach(header IN LISTS headers)
    get_filename_component(name ${header} NAME)
    file(CREATE_LINK ${header} ${root}/${prefix}/${name} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PUBLIC ${root})
endfunction()

# kalvor_layer(name [USES target...] [USES_PRIVATE target...])
#
# Declares the layer library kalvor_<name> from the .cpp and .h files of the
# calling folder. It links, and sees the headers of, only what it names:
#   USES          layers below it (and outside libraries) that its headers need;
#                 passed on to whatever links it.
#   USES_PRIVATE  what only its .cpp files need; not passed on.
# Name only layers below this one. A layer that must use one beside it says why
# where it is declared.
#
# A new module is a folder with a CMakeLists.txt of one call, e.g.
#   kalvor_layer(tags USES kalvor_mpeg PkgConfig::TAGLIB)
# and an add_subdirectory() in src/CMakeLists.txt.
function(kalvor_layer name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "USES;USES_PRIVATE")
  set(target kalvor_${name})
  kalvor_sources_of(sources ${CMAKE_CURRENT_SOURCE_DIR})
  add_library(${target} STATIC ${sources})
  kalvor_layer_headers(${target} ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${arg_USES} PRIVATE ${arg_USES_PRIVATE})
  set_target_properties(${target} PROPERTIES LINKER_LANGUAGE CXX)
endfunction()
