# Warnings are on for everything the project compiles.
function(kelvos_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(KELVOS_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
