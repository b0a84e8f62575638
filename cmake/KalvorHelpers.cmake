# Every source file of a folder belongs to its library: files are found by
# globbing, so adding a file never means editing a shared list.
function(kalvor_sources_of out_var dir)
  file(GLOB found CONFIGURE_DEPENDS "${dir}/*.cpp" "${dir}/*.h")
  set(${out_var} ${found} PARENT_SCOPE)
endfunction()
