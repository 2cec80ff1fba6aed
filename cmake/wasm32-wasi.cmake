# Debian's clang for WebAssembly (wasm32-wasi, with wasi-libc and libc++):
# the lookup tool's core as a module for the page.
set(CMAKE_SYSTEM_NAME Generic)
set(CMAKE_SYSTEM_PROCESSOR wasm32)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET wasm32-wasi)
set(CMAKE_CXX_COMPILER_TARGET wasm32-wasi)
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
set(NAVO_WEB ON CACHE BOOL "Build the lookup page (WebAssembly)" FORCE)
