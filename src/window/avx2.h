#pragma once
// AVX2 for single functions: where the compiler can target it (GCC and clang on x86-64),
// ZV_AVX2_TARGET marks the functions built for it, and ProcessorHasAvx2 says at run time
// whether this processor may call them.
#if (defined(__GNUC__) || defined(__clang__)) && defined(__x86_64__)
#define ZV_AVX2_TARGET __attribute__((target("avx2")))
#define ZV_CAN_TARGET_AVX2 1

inline bool ProcessorHasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}
#endif
