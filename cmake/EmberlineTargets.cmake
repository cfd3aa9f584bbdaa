# Interface targets that carry the project's compiler settings to the
# targets that link them.

# Warnings, linked PRIVATE by every target of the project.
add_library(emberline_warnings INTERFACE)
add_library(Emberline::warnings ALIAS emberline_warnings)
target_compile_options(emberline_warnings INTERFACE -Wall -Wextra -Wpedantic)

# For the code that calls pow and exp and evaluates the series: the last
# bits of F depend on every power being the library's pow (GCC folds
# pow(x, 2.0) into x * x otherwise) and every exponential the library's exp,
# and on no multiply-add being fused.
add_library(emberline_strict_fp INTERFACE)
add_library(Emberline::strict_fp ALIAS emberline_strict_fp)
target_compile_options(emberline_strict_fp INTERFACE -fno-builtin-pow -fno-builtin-exp -ffp-contract=off)
