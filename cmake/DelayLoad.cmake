# Delay-load import libraries: a program linked with one loads the DLL at
# its first call into it instead of before its entry point. Made at
# configure time from the toolchain's own import library: every symbol it
# imports becomes a delay-loaded import of the same DLL.
#
# vantrel_delay_load(<target> <dll name>...) links <target> with the
# delay-load libraries of those DLLs (e.g. "wininet"). The libraries come
# before the target's other libraries, so its imports of those DLLs are
# resolved by them.
function(vantrel_delay_load target)
  find_library(_delayimp delayimp REQUIRED)
  set(_nm ${CMAKE_NM})
  set(_dir ${CMAKE_BINARY_DIR}/delayload)
  set(_dlls)
  file(MAKE_DIRECTORY ${_dir})
  foreach(dll ${ARGN})
    find_library(_import_${dll} ${dll} REQUIRED)
    set(_lib ${_dir}/lib${dll}_delay.a)
    if(NOT EXISTS ${_lib} OR ${_import_${dll}} IS_NEWER_THAN ${_lib}
       OR ${CMAKE_CURRENT_FUNCTION_LIST_FILE} IS_NEWER_THAN ${_lib})
      execute_process(COMMAND ${_nm} -g ${_import_${dll}} OUTPUT_VARIABLE _symbols
                      COMMAND_ERROR_IS_FATAL ANY)
      # "__imp_Name" (x86-64) or "__imp__Name@n" (i686, stdcall).
      string(REGEX MATCHALL "I __imp_[^\r\n]+" _imports "${_symbols}")
      set(_def "LIBRARY ${dll}.dll\nEXPORTS\n")
      foreach(i ${_imports})
        string(REGEX REPLACE "^I __imp_" "" name "${i}")
        if(CMAKE_SIZEOF_VOID_P EQUAL 4)
          string(REGEX REPLACE "^_" "" name "${name}")
        endif()
        string(APPEND _def "${name}\n")
      endforeach()
      file(WRITE ${_dir}/${dll}.def "${_def}")
      set(_kill_at)
      if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        set(_kill_at --kill-at)
      endif()
      execute_process(COMMAND ${CMAKE_DLLTOOL} --input-def ${_dir}/${dll}.def
                              --output-delaylib ${_lib} --dllname ${dll}.dll ${_kill_at}
                      COMMAND_ERROR_IS_FATAL ANY)
      # Each function's slot first holds the address of its stub, which loads
      # the DLL. A program whose headers declare the functions dllimport
      # references only the slot ("__imp_Name"), and the i686 ld then drops
      # the stub as the unused jump of an ordinary import library (it drops
      # any code section of an import-library member whose symbols nothing
      # references): the slot holds 0 and the first call jumps there. Marked
      # as data, the stub is kept; its name still places it in .text, where
      # dlltool's own descriptor (.text$2) already lies. tools/pe_check
      # proves every slot points into code.
      execute_process(COMMAND ${CMAKE_OBJCOPY}
                              "--rename-section=.text=.text$delaystub,contents,alloc,load,readonly,data"
                              ${_lib}
                      COMMAND_ERROR_IS_FATAL ANY)
    endif()
    target_link_libraries(${target} PRIVATE ${_lib})
    string(APPEND _dlls " ${dll}.dll")
  endforeach()
  target_link_libraries(${target} PRIVATE ${_delayimp})
  # What the program must delay-load, for tools/pe_check.
  file(GENERATE OUTPUT ${_dir}/${target}.delay CONTENT "$<TARGET_FILE_NAME:${target}>${_dlls}\n")
endfunction()
