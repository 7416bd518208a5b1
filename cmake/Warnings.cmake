# Warnings are on for everything the project compiles.
function(kelvos_warnings target)
  # -Wshadow: a local that hides a member or an outer name is a misread waiting to happen.
  # -Wnon-virtual-dtor and -Woverloaded-virtual: polymorphic classes are the house style, so a base
  # without a virtual destructor or an overload that hides a virtual is almost always a fault.
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual)
  if(KELVOS_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
