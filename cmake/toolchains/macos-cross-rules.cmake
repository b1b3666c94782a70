# Read after CMake's platform rules when cross-compiling for macOS (macos-cross.cmake): every
# supported macOS has run paths, which the bundle's engine library is found through.
set(CMAKE_SHARED_LIBRARY_RUNTIME_C_FLAG "-Wl,-rpath,")
