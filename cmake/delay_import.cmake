# Import libraries whose DLL is loaded at the first call into it rather than
# when the program starts: the DLLs only the file dialogs and the MCI back-end
# use cost a noticeable part of start-up under Wine.
#
# zephlo_delay_import(<name> <dll>) makes the target zephlo_delay_<name> from
# the toolchain's lib<name>.a: every function that library imports, bound
# through the loader helper of the MinGW runtime.
function(zephlo_delay_import name dll)
  find_library(import_library_${name} NAMES lib${name}.a REQUIRED)
  set(import_library ${import_library_${name}})
  string(REGEX REPLACE "-gcc(-posix)?$" "" tool_prefix "${CMAKE_C_COMPILER}")
  set(nm ${tool_prefix}-nm)
  set(dlltool ${tool_prefix}-dlltool)

  execute_process(COMMAND ${nm} ${import_library} OUTPUT_VARIABLE symbols
    COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL " I __imp_[^\n]+" imports "${symbols}")
  set(definitions "LIBRARY ${dll}\nEXPORTS\n")
  foreach(import IN LISTS imports)
    string(REPLACE " I __imp_" "" function "${import}")
    # 32-bit names carry the C prefix underscore (and their @size suffix,
    # which dlltool strips with --kill-at).
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      string(REGEX REPLACE "^_" "" function "${function}")
    endif()
    string(APPEND definitions "${function}\n")
  endforeach()

  set(folder ${CMAKE_BINARY_DIR}/delay-import)
  file(MAKE_DIRECTORY ${folder})
  file(WRITE ${folder}/${name}.def "${definitions}")
  set(options)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(options --kill-at)
  endif()
  execute_process(COMMAND ${dlltool} ${options} --def ${folder}/${name}.def --dllname ${dll}
    --output-delaylib ${folder}/lib${name}_delay.a
    COMMAND_ERROR_IS_FATAL ANY)

  add_library(zephlo_delay_${name} STATIC IMPORTED GLOBAL)
  set_target_properties(zephlo_delay_${name} PROPERTIES
    IMPORTED_LOCATION ${folder}/lib${name}_delay.a)
endfunction()
