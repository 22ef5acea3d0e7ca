# zorvin_harden(TARGET): the imports' dependencies of a Windows exe load from
# System32 only (DependentLoadFlags in the load configuration).
function(zorvin_harden target)
  if(MINGW)
    # The load configuration is found by its symbol name; keep it through --gc-sections.
    target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/src/app/load_config.cpp)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      set(symbol __load_config_used)
    else()
      set(symbol _load_config_used)
    endif()
    set(link_map ${CMAKE_CURRENT_BINARY_DIR}/${target}.map)
    target_link_options(${target} PRIVATE -Wl,--undefined=${symbol} -Wl,-Map=${link_map})
    find_package(Python3 REQUIRED COMPONENTS Interpreter)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/cmake/set-load-config.py $<TARGET_FILE:${target}> ${link_map}
      VERBATIM)
  elseif(MSVC)
    target_link_options(${target} PRIVATE /DEPENDENTLOADFLAG:0x800)
  endif()
endfunction()
