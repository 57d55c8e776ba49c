#pragma once
// Looks at a block of 64 bytes at once: a mask has bit k set where byte k of the block is one of
// the bytes asked for. The viewer's scans (line feeds, the first and last byte of a searched
// text) run as fast as the file's bytes arrive only when they compare many bytes per instruction.
//
// A scan is written once as a loop over a kind of lanes and compiled for each kind: the 16-byte
// lanes every x86-64 processor has, and 32-byte AVX2 lanes where the processor has them (chosen
// while the program runs, so the same program runs on processors without them). The loop must be
// inlined into a function compiled for AVX2 (marked with TAL_AVX2_TARGET) for the wide lanes'
// instructions to be allowed in it.
#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define TAL_HAVE_AVX2_LANES 1
#define TAL_AVX2_TARGET [[gnu::target("avx2,popcnt")]]
#endif

namespace tal {

enum class ByteLanes { Baseline, Avx2 };

// The widest lanes this processor has (looked up once).
inline ByteLanes FastestLanes() {
#if defined(TAL_HAVE_AVX2_LANES)
  static const ByteLanes fastest =
      __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt") ? ByteLanes::Avx2 : ByteLanes::Baseline;
  return fastest;
#else
  return ByteLanes::Baseline;
#endif
}

// `wanted`, or the baseline lanes where this processor lacks the wider ones.
inline ByteLanes UsableLanes(ByteLanes wanted) {
  return wanted == ByteLanes::Avx2 ? FastestLanes() : ByteLanes::Baseline;
}

constexpr std::size_t LaneBlock = 64;

// Bit k of each mask stands for p[k], for the 64 bytes from p.
struct BaselineLanes {
  static std::uint64_t Equal(const char* p, char c) { return Either(p, c, c); }
  static std::uint64_t Either(const char* p, char a, char b) {
    std::uint64_t mask = 0;
#if defined(__SSE2__)
    const __m128i va = _mm_set1_epi8(a), vb = _mm_set1_epi8(b);
    for (int part = 0; part < 4; ++part) {
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * part));
      const int bits = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, va), _mm_cmpeq_epi8(block, vb)));
      mask |= static_cast<std::uint64_t>(static_cast<unsigned>(bits)) << (16 * part);
    }
#else
    for (std::size_t k = 0; k < LaneBlock; ++k)
      if (p[k] == a || p[k] == b) mask |= std::uint64_t{1} << k;
#endif
    return mask;
  }
};

#if defined(TAL_HAVE_AVX2_LANES)
struct Avx2Lanes {
  TAL_AVX2_TARGET static std::uint64_t Equal(const char* p, char c) {
    const __m256i vc = _mm256_set1_epi8(c);
    return Join(_mm256_cmpeq_epi8(Load(p), vc), _mm256_cmpeq_epi8(Load(p + 32), vc));
  }
  TAL_AVX2_TARGET static std::uint64_t Either(const char* p, char a, char b) {
    const __m256i va = _mm256_set1_epi8(a), vb = _mm256_set1_epi8(b);
    const __m256i low = Load(p), high = Load(p + 32);
    return Join(_mm256_or_si256(_mm256_cmpeq_epi8(low, va), _mm256_cmpeq_epi8(low, vb)),
                _mm256_or_si256(_mm256_cmpeq_epi8(high, va), _mm256_cmpeq_epi8(high, vb)));
  }

 private:
  TAL_AVX2_TARGET static __m256i Load(const char* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
  TAL_AVX2_TARGET static std::uint64_t Join(__m256i low, __m256i high) {
    return static_cast<std::uint32_t>(_mm256_movemask_epi8(low)) |
           static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm256_movemask_epi8(high))) << 32;
  }
};
#endif

}  // namespace tal
