// The fuzz targets' assertion: a failed rule aborts, so that libFuzzer keeps the input.
#pragma once

#include <stdio.h>
#include <stdlib.h>

#define CHECK(condition)                                                           \
  do {                                                                             \
    if (!(condition)) {                                                            \
      fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #condition);      \
      abort();                                                                     \
    }                                                                              \
  } while (0)
