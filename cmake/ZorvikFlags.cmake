# Compiler settings shared by the project's own targets.

# Warnings for the project's own code.
function(zorvik_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-dangling-pointer)
endfunction()

# The DSP code must give the same results whatever the compiler does with fused
# multiply-adds, and relies on IEEE semantics (NaN comparisons): never -ffast-math.
# errno is never read, so the maths functions may vectorise.
function(zorvik_dsp_flags target)
  target_compile_options(${target} PRIVATE -ffp-contract=off -fno-fast-math -fno-math-errno)
endfunction()
