// The row loops of lice_fastpaths.h for one vector width. lice_fastpaths.cpp
// includes this file once per instruction set, inside its own namespace and
// target region, with LICE_VB set to the vector size in bytes (16, 32, 64).
// Each loop does whole vectors and leaves the rest to the plain combiner, so
// every width and alignment gives the same bits.

#if LICE_VB == 16
typedef __m128i V;
static inline V Load(const void* p) { return _mm_loadu_si128(static_cast<const __m128i*>(p)); }
static inline void Store(void* p, V v) { _mm_storeu_si128(static_cast<__m128i*>(p), v); }
static inline V Zero() { return _mm_setzero_si128(); }
static inline V Set16(int v) { return _mm_set1_epi16(static_cast<short>(v)); }
static inline V Set32(unsigned int v) { return _mm_set1_epi32(static_cast<int>(v)); }
static inline V Add16(V a, V b) { return _mm_add_epi16(a, b); }
static inline V Sub16(V a, V b) { return _mm_sub_epi16(a, b); }
static inline V Mul16(V a, V b) { return _mm_mullo_epi16(a, b); }
static inline V MulHiU16(V a, V b) { return _mm_mulhi_epu16(a, b); }
static inline V Min16(V a, V b) { return _mm_min_epi16(a, b); }
static inline V Add32(V a, V b) { return _mm_add_epi32(a, b); }
static inline V And(V a, V b) { return _mm_and_si128(a, b); }
static inline V Or(V a, V b) { return _mm_or_si128(a, b); }
static inline V Xor(V a, V b) { return _mm_xor_si128(a, b); }
static inline V AddSatU8(V a, V b) { return _mm_adds_epu8(a, b); }
static inline V Lo8(V a) { return _mm_unpacklo_epi8(a, _mm_setzero_si128()); }
static inline V Hi8(V a) { return _mm_unpackhi_epi8(a, _mm_setzero_si128()); }
static inline V PackU16(V a, V b) { return _mm_packus_epi16(a, b); }
static inline V PackS32(V a, V b) { return _mm_packs_epi32(a, b); }
static inline V Lo16(V a, V b) { return _mm_unpacklo_epi16(a, b); }
static inline V Hi16(V a, V b) { return _mm_unpackhi_epi16(a, b); }
static inline V Lo32(V a, V b) { return _mm_unpacklo_epi32(a, b); }
static inline V Hi32(V a, V b) { return _mm_unpackhi_epi32(a, b); }
static inline V Madd(V a, V b) { return _mm_madd_epi16(a, b); }
template <int N> static inline V Srl16(V a) { return _mm_srli_epi16(a, N); }
template <int N> static inline V Srl32(V a) { return _mm_srli_epi32(a, N); }
template <int N> static inline V Sll32(V a) { return _mm_slli_epi32(a, N); }
template <int N> static inline V Sra32(V a) { return _mm_srai_epi32(a, N); }
// 0xFF in each 16-bit lane where a < b (both 0-255).
static inline V LessMask(V a, V b) { return _mm_and_si128(_mm_cmplt_epi16(a, b), _mm_set1_epi16(255)); }
// Word 3 of each pixel (its alpha, once widened) in all four of its words.
static inline V SpreadAlpha(V a) { return _mm_shufflehi_epi16(_mm_shufflelo_epi16(a, 0xFF), 0xFF); }
// Even and odd 32-bit elements of the pairs in a and b, lane by lane.
static inline V Evens(V a, V b)
{
  return _mm_castps_si128(_mm_shuffle_ps(_mm_castsi128_ps(a), _mm_castsi128_ps(b), 0x88));
}
static inline V Odds(V a, V b)
{
  return _mm_castps_si128(_mm_shuffle_ps(_mm_castsi128_ps(a), _mm_castsi128_ps(b), 0xDD));
}
#elif LICE_VB == 32
typedef __m256i V;
static inline V Sub32(V a, V b) { return _mm256_sub_epi32(a, b); }
// True when every 32-bit element lies in [0, n).
static inline bool AllBelow(V a, int n)
{
  return _mm256_movemask_epi8(_mm256_cmpgt_epi32(_mm256_set1_epi32(n), a)) == -1 &&
         _mm256_movemask_epi8(_mm256_cmpgt_epi32(_mm256_setzero_si256(), a)) == 0;
}
static inline V Permute(V v, V idx) { return _mm256_permutevar8x32_epi32(v, idx); }
// b negated where s < 0, 0 where s = 0.
static inline V Sign16(V b, V s) { return _mm256_sign_epi16(b, s); }
static inline V Abs16(V a) { return _mm256_abs_epi16(a); }
// Each pixel's alpha byte in all four of its bytes.
static inline V AlphaBytes(V v)
{
  return _mm256_shuffle_epi8(v, _mm256_setr_epi8(3, 3, 3, 3, 7, 7, 7, 7, 11, 11, 11, 11, 15, 15, 15, 15, 3, 3, 3, 3, 7,
                                                 7, 7, 7, 11, 11, 11, 11, 15, 15, 15, 15));
}
// v, with the pixels whose alpha (in alphaBytes) is 0 taken from keep.
static inline V KeepWhereTransparent(V v, V keep, V alphaBytes)
{
  return _mm256_blendv_epi8(v, keep, _mm256_cmpeq_epi8(alphaBytes, _mm256_setzero_si256()));
}
static inline V Load(const void* p) { return _mm256_loadu_si256(static_cast<const __m256i*>(p)); }
static inline void Store(void* p, V v) { _mm256_storeu_si256(static_cast<__m256i*>(p), v); }
static inline V Zero() { return _mm256_setzero_si256(); }
static inline V Set16(int v) { return _mm256_set1_epi16(static_cast<short>(v)); }
static inline V Set32(unsigned int v) { return _mm256_set1_epi32(static_cast<int>(v)); }
static inline V Add16(V a, V b) { return _mm256_add_epi16(a, b); }
static inline V Sub16(V a, V b) { return _mm256_sub_epi16(a, b); }
static inline V Mul16(V a, V b) { return _mm256_mullo_epi16(a, b); }
static inline V MulHiU16(V a, V b) { return _mm256_mulhi_epu16(a, b); }
static inline V Min16(V a, V b) { return _mm256_min_epi16(a, b); }
static inline V Add32(V a, V b) { return _mm256_add_epi32(a, b); }
static inline V And(V a, V b) { return _mm256_and_si256(a, b); }
static inline V Or(V a, V b) { return _mm256_or_si256(a, b); }
static inline V Xor(V a, V b) { return _mm256_xor_si256(a, b); }
static inline V AddSatU8(V a, V b) { return _mm256_adds_epu8(a, b); }
static inline V Lo8(V a) { return _mm256_unpacklo_epi8(a, _mm256_setzero_si256()); }
static inline V Hi8(V a) { return _mm256_unpackhi_epi8(a, _mm256_setzero_si256()); }
static inline V PackU16(V a, V b) { return _mm256_packus_epi16(a, b); }
static inline V PackS32(V a, V b) { return _mm256_packs_epi32(a, b); }
static inline V Lo16(V a, V b) { return _mm256_unpacklo_epi16(a, b); }
static inline V Hi16(V a, V b) { return _mm256_unpackhi_epi16(a, b); }
static inline V Lo32(V a, V b) { return _mm256_unpacklo_epi32(a, b); }
static inline V Hi32(V a, V b) { return _mm256_unpackhi_epi32(a, b); }
static inline V Madd(V a, V b) { return _mm256_madd_epi16(a, b); }
template <int N> static inline V Srl16(V a) { return _mm256_srli_epi16(a, N); }
template <int N> static inline V Srl32(V a) { return _mm256_srli_epi32(a, N); }
template <int N> static inline V Sll32(V a) { return _mm256_slli_epi32(a, N); }
template <int N> static inline V Sra32(V a) { return _mm256_srai_epi32(a, N); }
static inline V LessMask(V a, V b) { return _mm256_and_si256(_mm256_cmpgt_epi16(b, a), _mm256_set1_epi16(255)); }
static inline V SpreadAlpha(V a) { return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(a, 0xFF), 0xFF); }
static inline V Evens(V a, V b)
{
  return _mm256_castps_si256(_mm256_shuffle_ps(_mm256_castsi256_ps(a), _mm256_castsi256_ps(b), 0x88));
}
static inline V Odds(V a, V b)
{
  return _mm256_castps_si256(_mm256_shuffle_ps(_mm256_castsi256_ps(a), _mm256_castsi256_ps(b), 0xDD));
}
#elif LICE_VB == 64
typedef __m512i V;
static inline V Sub32(V a, V b) { return _mm512_sub_epi32(a, b); }
static inline bool AllBelow(V a, int n)
{
  return _mm512_cmplt_epu32_mask(a, _mm512_set1_epi32(n)) == 0xFFFF;
}
static inline V Permute(V v, V idx) { return _mm512_permutexvar_epi32(idx, v); }
static inline V Sign16(V b, V s)
{
  return _mm512_maskz_mov_epi16(_mm512_test_epi16_mask(s, s),
                                _mm512_mask_sub_epi16(b, _mm512_movepi16_mask(s), _mm512_setzero_si512(), b));
}
static inline V Abs16(V a) { return _mm512_abs_epi16(a); }
static inline V AlphaBytes(V v)
{
  return _mm512_shuffle_epi8(v, _mm512_set4_epi32(0x0F0F0F0F, 0x0B0B0B0B, 0x07070707, 0x03030303));
}
static inline V KeepWhereTransparent(V v, V keep, V alphaBytes)
{
  return _mm512_mask_blend_epi8(_mm512_cmpeq_epi8_mask(alphaBytes, _mm512_setzero_si512()), v, keep);
}
static inline V Load(const void* p) { return _mm512_loadu_si512(p); }
static inline void Store(void* p, V v) { _mm512_storeu_si512(p, v); }
static inline V Zero() { return _mm512_setzero_si512(); }
static inline V Set16(int v) { return _mm512_set1_epi16(static_cast<short>(v)); }
static inline V Set32(unsigned int v) { return _mm512_set1_epi32(static_cast<int>(v)); }
static inline V Add16(V a, V b) { return _mm512_add_epi16(a, b); }
static inline V Sub16(V a, V b) { return _mm512_sub_epi16(a, b); }
static inline V Mul16(V a, V b) { return _mm512_mullo_epi16(a, b); }
static inline V MulHiU16(V a, V b) { return _mm512_mulhi_epu16(a, b); }
static inline V Min16(V a, V b) { return _mm512_min_epi16(a, b); }
static inline V Add32(V a, V b) { return _mm512_add_epi32(a, b); }
static inline V And(V a, V b) { return _mm512_and_si512(a, b); }
static inline V Or(V a, V b) { return _mm512_or_si512(a, b); }
static inline V Xor(V a, V b) { return _mm512_xor_si512(a, b); }
static inline V AddSatU8(V a, V b) { return _mm512_adds_epu8(a, b); }
static inline V Lo8(V a) { return _mm512_unpacklo_epi8(a, _mm512_setzero_si512()); }
static inline V Hi8(V a) { return _mm512_unpackhi_epi8(a, _mm512_setzero_si512()); }
static inline V PackU16(V a, V b) { return _mm512_packus_epi16(a, b); }
static inline V PackS32(V a, V b) { return _mm512_packs_epi32(a, b); }
static inline V Lo16(V a, V b) { return _mm512_unpacklo_epi16(a, b); }
static inline V Hi16(V a, V b) { return _mm512_unpackhi_epi16(a, b); }
static inline V Lo32(V a, V b) { return _mm512_unpacklo_epi32(a, b); }
static inline V Hi32(V a, V b) { return _mm512_unpackhi_epi32(a, b); }
static inline V Madd(V a, V b) { return _mm512_madd_epi16(a, b); }
template <int N> static inline V Srl16(V a) { return _mm512_srli_epi16(a, N); }
template <int N> static inline V Srl32(V a) { return _mm512_srli_epi32(a, N); }
template <int N> static inline V Sll32(V a) { return _mm512_slli_epi32(a, N); }
template <int N> static inline V Sra32(V a) { return _mm512_srai_epi32(a, N); }
static inline V LessMask(V a, V b)
{
  return _mm512_maskz_mov_epi16(_mm512_cmplt_epu16_mask(a, b), _mm512_set1_epi16(255));
}
static inline V SpreadAlpha(V a) { return _mm512_shufflehi_epi16(_mm512_shufflelo_epi16(a, 0xFF), 0xFF); }
static inline V Evens(V a, V b)
{
  return _mm512_castps_si512(_mm512_shuffle_ps(_mm512_castsi512_ps(a), _mm512_castsi512_ps(b), 0x88));
}
static inline V Odds(V a, V b)
{
  return _mm512_castps_si512(_mm512_shuffle_ps(_mm512_castsi512_ps(a), _mm512_castsi512_ps(b), 0xDD));
}
#else
#error "LICE_VB must be 16, 32 or 64"
#endif

constexpr int kPixels = LICE_VB / 4; // pixels per vector

// s + (d - s) * f / 256 truncated toward zero, per 16-bit lane, for
// f + g = 256, 0 <= g <= 256: the truncation rounds d * f + s * g (at most
// 65280) down when d >= s and up when d < s, all in unsigned 16 bits.
static inline V MixTowardZero(V d16, V s16, V f16, V g16)
{
  const V u = Add16(Mul16(d16, f16), Mul16(s16, g16));
  return Srl16<8>(Add16(u, LessMask(d16, s16)));
}
static inline V MixTowardZero(V d16, V s16, V g16) { return MixTowardZero(d16, s16, Sub16(Set16(256), g16), g16); }

#if LICE_VB >= 32
// The same from f alone: s + sign(d - s) * (|d - s| * f >> 8), which needs
// the sign and absolute-value instructions the baseline lacks.
static inline V MixTowardZeroF(V d16, V s16, V f16)
{
  const V diff = Sub16(d16, s16);
  return Add16(s16, Sign16(Srl16<8>(Mul16(Abs16(diff), f16)), diff));
}
#endif

static void CopyBytes(LICE_pixel_chan* __restrict d, const LICE_pixel_chan* __restrict s, int n, int W)
{
#if LICE_VB >= 32
  const V f16 = Set16(256 - W);
#else
  const V w16 = Set16(W);
#endif
  int i = 0;
  for (; i + LICE_VB <= n; i += LICE_VB)
  {
    const V dv = Load(d + i), sv = Load(s + i);
#if LICE_VB >= 32
    Store(d + i, PackU16(MixTowardZeroF(Lo8(dv), Lo8(sv), f16), MixTowardZeroF(Hi8(dv), Hi8(sv), f16)));
#else
    Store(d + i, PackU16(MixTowardZero(Lo8(dv), Lo8(sv), w16), MixTowardZero(Hi8(dv), Hi8(sv), w16)));
#endif
  }
  for (; i < n; ++i) d[i] = static_cast<LICE_pixel_chan>(LICE_CopyCh<false>::ch(d[i], s[i], W));
}

static void AddBytes(LICE_pixel_chan* __restrict d, const LICE_pixel_chan* __restrict s, int n, int W)
{
  int i = 0;
  if (W == 256)
    for (; i + LICE_VB <= n; i += LICE_VB) Store(d + i, AddSatU8(Load(d + i), Load(s + i)));
  else
  {
    // d + (s * W >> 8) is at most 510; the pack saturates it to 255.
    const V w16 = Set16(W);
    for (; i + LICE_VB <= n; i += LICE_VB)
    {
      const V dv = Load(d + i), sv = Load(s + i);
      Store(d + i, PackU16(Add16(Lo8(dv), Srl16<8>(Mul16(Lo8(sv), w16))),
                           Add16(Hi8(dv), Srl16<8>(Mul16(Hi8(sv), w16)))));
    }
  }
  for (; i < n; ++i) d[i] = static_cast<LICE_pixel_chan>(LICE_AddCh::ch(d[i], s[i], W));
}

// Per pixel the source weight g: W = 256 gives sa + 1 (0 for sa = 0, so a
// transparent pixel keeps the destination and an opaque one replaces it);
// below, W * (sa + 1) >> 8, which is 0 for sa = 0 by itself. The alpha byte
// adds sa (W = 256) or g, limited to 255: a saturating byte add, or the
// pack's saturation.
template <bool kOpaque>
static void CopySourceAlphaT(LICE_pixel* __restrict d, const LICE_pixel* __restrict s, int n, int W)
{
  const V w16 = Set16(W), one = Set16(1);
  const V alphaMask = Set32(0xFF000000u);
  int i = 0;
  for (; i + kPixels <= n; i += kPixels)
  {
    const V dv = Load(d + i), sv = Load(s + i);
    V mix[2], alpha[2];
#if LICE_VB >= 32
    // With byte shuffles: the opaque weights as bytes, f = 255 - sa and
    // g = sa + 1, right for every alpha but 0, whose pixels are put back
    // at the end.
    const V ab = AlphaBytes(sv), fb = Xor(ab, Set32(0xFFFFFFFFu));
    for (int h = 0; h < 2; ++h)
    {
      const V d16 = h ? Hi8(dv) : Lo8(dv), s16 = h ? Hi8(sv) : Lo8(sv);
      if (kOpaque) mix[h] = MixTowardZeroF(d16, s16, h ? Hi8(fb) : Lo8(fb));
      else
      {
        const V g = Srl16<8>(Mul16(Add16(h ? Hi8(ab) : Lo8(ab), one), w16));
        mix[h] = MixTowardZeroF(d16, s16, Sub16(Set16(256), g));
        alpha[h] = Add16(d16, g);
      }
    }
#else
    for (int h = 0; h < 2; ++h)
    {
      const V d16 = h ? Hi8(dv) : Lo8(dv), s16 = h ? Hi8(sv) : Lo8(sv);
      const V a16 = SpreadAlpha(s16);
      const V g = kOpaque ? Add16(a16, Min16(a16, one)) : Srl16<8>(Mul16(Add16(a16, one), w16));
      mix[h] = MixTowardZero(d16, s16, g);
      alpha[h] = Add16(d16, g);
    }
#endif
    const V rgb = PackU16(mix[0], mix[1]);
    const V a = kOpaque ? AddSatU8(dv, sv) : PackU16(alpha[0], alpha[1]);
    V out = Or(And(a, alphaMask), Xor(And(rgb, alphaMask), rgb));
#if LICE_VB >= 32
    if (kOpaque) out = KeepWhereTransparent(out, dv, ab);
#endif
    Store(d + i, out);
  }
  for (; i < n; ++i)
    d[i] = kOpaque ? _LICE_CombinePixelsCopySourceAlphaIgnoreAlphaParmNoClamp::px(d[i], s[i], W)
                   : _LICE_CombinePixelsCopySourceAlphaNoClamp::px(d[i], s[i], W);
}

static void CopySourceAlpha(LICE_pixel* d, const LICE_pixel* s, int n, int W)
{
  if (W == 256) CopySourceAlphaT<true>(d, s, n, W);
  else CopySourceAlphaT<false>(d, s, n, W);
}

static void CopyFill(LICE_pixel* __restrict d, int n, LICE_pixel src, int W)
{
  // As CopyBytes, with the source and s * W worked out once.
  const V s16 = Lo8(Set32(src));
  const V f16 = Set16(256 - W), sw16 = Mul16(s16, Set16(W));
  int i = 0;
  for (; i + kPixels <= n; i += kPixels)
  {
    const V dv = Load(d + i);
    const V lo = Lo8(dv), hi = Hi8(dv);
    const V rlo = Srl16<8>(Add16(Add16(Mul16(lo, f16), sw16), LessMask(lo, s16)));
    const V rhi = Srl16<8>(Add16(Add16(Mul16(hi, f16), sw16), LessMask(hi, s16)));
    Store(d + i, PackU16(rlo, rhi));
  }
  for (; i < n; ++i) d[i] = _LICE_CombinePixelsCopyNoClamp::px(d[i], src, W);
}

static void SolidFill(LICE_pixel* __restrict d, int n, LICE_pixel c)
{
  // Four stores an iteration: a store-only loop is otherwise held up by its
  // own loop overhead.
  const V cv = Set32(c);
  int i = 0;
  for (; i + 4 * kPixels <= n; i += 4 * kPixels)
  {
    Store(d + i, cv);
    Store(d + i + kPixels, cv);
    Store(d + i + 2 * kPixels, cv);
    Store(d + i + 3 * kPixels, cv);
  }
  for (; i + kPixels <= n; i += kPixels) Store(d + i, cv);
  for (; i < n; ++i) d[i] = c;
}

// The (p00, p10) pairs of pixels k and k + 1 as two 64-bit elements.
static inline __m128i Pairs(const LICE_pixel* base, const int* offs, int k)
{
  return _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(base + offs[k])),
                            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(base + offs[k + 1])));
}

// Pairs of pixels 4L + first and 4L + first + 1 in 128-bit lane L, so that
// Evens and Odds of first = 0 and first = 2 give the pixels in order.
static inline V LanePairs(const LICE_pixel* base, const int* offs, int first)
{
#if LICE_VB == 16
  return Pairs(base, offs, first);
#elif LICE_VB == 32
  return _mm256_inserti128_si256(_mm256_castsi128_si256(Pairs(base, offs, first)), Pairs(base, offs, first + 4), 1);
#else
  const V v = _mm512_castsi128_si512(Pairs(base, offs, first));
  const V v1 = _mm512_inserti32x4(v, Pairs(base, offs, first + 4), 1);
  const V v2 = _mm512_inserti32x4(v1, Pairs(base, offs, first + 8), 2);
  return _mm512_inserti32x4(v2, Pairs(base, offs, first + 12), 3);
#endif
}

// One half (even or odd channels, in the low byte of each 16-bit word) of
// the bilinear sum. With a = p10 - p00, b = p01 - p00,
// c = p11 - p10 - p01 + p00 and e = p00 - p11 (a + b + c + e = 0), the sum
// of p * w over the four taps is 65536 * p00 + fx * a + fy * b + w11 * c,
// and fx * a + fy * b + w11 * c equals
// (fx - 32768) * a + (fy - 32768) * b + (w11 - 32768) * c - 32768 * e,
// whose factors all fit signed 16 bits: two multiply-adds per channel.
static inline V BilinearHalf(V x00, V x10, V x01, V x11, V wxy, V w11)
{
  const V a = Sub16(x10, x00), b = Sub16(x01, x00);
  const V c = Sub16(Sub16(x11, x10), b), e = Sub16(x00, x11);
  const V lo = Add32(Madd(Lo16(a, b), Lo32(wxy, wxy)), Madd(Lo16(c, e), Lo32(w11, w11)));
  const V hi = Add32(Madd(Hi16(a, b), Hi32(wxy, wxy)), Madd(Hi16(c, e), Hi32(w11, w11)));
  return Add16(PackS32(Sra32<16>(lo), Sra32<16>(hi)), x00);
}

// The four tap vectors of pixels i .. i + kPixels - 1. Where their blocks
// start within kPixels of each other, left to right, and the window after
// the first one stays below offLimit, two loads per row and a permute
// replace the gather.
static inline void Taps(const LICE_pixel* base, const LICE_pixel* lower, const int* offs, int offLimit, V* p00,
                        V* p10, V* p01, V* p11)
{
#if LICE_VB >= 32
  const int o = offs[0];
  if (o + kPixels < offLimit)
  {
    const V idx = Sub32(Load(offs), Set32(static_cast<unsigned int>(o)));
    if (AllBelow(idx, kPixels))
    {
      *p00 = Permute(Load(base + o), idx);
      *p10 = Permute(Load(base + o + 1), idx);
      *p01 = Permute(Load(lower + o), idx);
      *p11 = Permute(Load(lower + o + 1), idx);
      return;
    }
  }
#else
  (void)offLimit;
#endif
  const V t0 = LanePairs(base, offs, 0), t1 = LanePairs(base, offs, 2);
  const V b0 = LanePairs(lower, offs, 0), b1 = LanePairs(lower, offs, 2);
  *p00 = Evens(t0, t1);
  *p10 = Odds(t0, t1);
  *p01 = Evens(b0, b1);
  *p11 = Odds(b0, b1);
}

static void Bilinear(LICE_pixel* __restrict out, const LICE_pixel* base, ptrdiff_t step, const int* offs,
                     const unsigned int* fxfy, unsigned int fyOr, int n, int offLimit)
{
  const LICE_pixel* lower = base + step;
  const V fyo = Set32(fyOr);
  const V evenMask = Set32(0x00FF00FFu), bias = Set32(0x80008000u), w11High = Set32(0x80000000u);
  int i = 0;
  for (; i + kPixels <= n; i += kPixels)
  {
    V p00, p10, p01, p11;
    Taps(base, lower, offs + i, offLimit, &p00, &p10, &p01, &p11);
    const V f = Or(Load(fxfy + i), fyo);
    // (fx - 32768, fy - 32768) and (w11 - 32768, -32768) as 16-bit pairs;
    // w11 = fx * fy >> 16 is the high half of the 16-bit product.
    const V wxy = Xor(f, bias);
    const V w11 = Or(Xor(MulHiU16(f, Srl32<16>(f)), Set32(0x8000u)), w11High);
    const V ev = BilinearHalf(And(p00, evenMask), And(p10, evenMask), And(p01, evenMask), And(p11, evenMask),
                              wxy, w11);
    const V od = BilinearHalf(And(Srl32<8>(p00), evenMask), And(Srl32<8>(p10), evenMask),
                              And(Srl32<8>(p01), evenMask), And(Srl32<8>(p11), evenMask), wxy, w11);
    Store(out + i, Or(ev, Sll32<8>(od)));
  }
  for (; i < n; ++i)
  {
    const LICE_pixel* p = base + offs[i];
    out[i] = __LICE_BilinearFilterI(p[0], p[1], p[step], p[step + 1], fxfy[i] & 0xffffu, (fxfy[i] | fyOr) >> 16);
  }
}

constexpr LICE_RowKernels kKernels = {CopyBytes, AddBytes, CopySourceAlpha, CopyFill, SolidFill, Bilinear};
