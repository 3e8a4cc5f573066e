#pragma once

// Symbol visibility of the txini shared library.
#if defined(_WIN32)
#if defined(TXINI_BUILDING)
#define TXINI_EXPORT __declspec(dllexport)
#else
#define TXINI_EXPORT __declspec(dllimport)
#endif
#else
#define TXINI_EXPORT __attribute__((visibility("default")))
#endif
