// The object the tests' precompiled header is made for (cmake/OrnavHelpers.cmake).
