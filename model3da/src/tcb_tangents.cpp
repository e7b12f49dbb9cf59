// Kochanek–Bartels tangents of the TCB 1D and 3D tracks.
#include "model3da/tracks.h"

namespace model3da {
namespace {

// The end-key tangent from the key itself (a), its neighbour (b) and the one
// after that (c): (d·(0.25 − Δab / (2·Δac) + 0.5) + (vb − va − d·0.5)·1.5)·(1 − tension)
// with d = vc − va. Equal key times treat the spacing as even.
float end_tangent(float va, float vb, float vc, double dt_ab, double dt_ac, float tension) {
  const float d = vc - va;
  const double ratio = dt_ac != 0.0 ? dt_ab / (2.0 * dt_ac) : 0.25;
  return float((d * (0.25 - ratio + 0.5) + (vb - va - d * 0.5) * 1.5) * (1.0 - tension));
}

}  // namespace

void tcb_tangents(std::span<const float> v, int n, std::span<const int32_t> times,
                  std::span<const float> tension, std::span<const float> continuity,
                  std::span<const float> bias, std::span<float> in, std::span<float> out) {
  const int count = int(times.size());
  if (count < 2) return;
  auto at = [n](int key, int c) { return size_t(key) * size_t(n) + size_t(c); };
  if (count == 2) {
    for (int c = 0; c < n; ++c) {
      const float delta = v[at(1, c)] - v[at(0, c)];
      in[at(0, c)] = out[at(0, c)] = delta * (1.0f - tension[0]);
      in[at(1, c)] = out[at(1, c)] = delta * (1.0f - tension[1]);
    }
    return;
  }
  for (int k = 1; k + 1 < count; ++k) {
    const double dt_prev = double(times[k]) - times[k - 1];
    const double dt_next = double(times[k + 1]) - times[k];
    const double span = dt_prev + dt_next;
    // Scale for uneven spacing: the in tangent serves the segment before the
    // key, the out tangent the one after it.
    const double in_scale = span != 0.0 ? 2.0 * dt_prev / span : 1.0;
    const double out_scale = span != 0.0 ? 2.0 * dt_next / span : 1.0;
    const double t = tension[k], cont = continuity[k], b = bias[k];
    const double in_a = (1 - t) * (1 - cont) * (1 + b) / 2;
    const double in_b = (1 - t) * (1 + cont) * (1 - b) / 2;
    const double out_a = (1 - t) * (1 + cont) * (1 + b) / 2;
    const double out_b = (1 - t) * (1 - cont) * (1 - b) / 2;
    for (int c = 0; c < n; ++c) {
      const double d_prev = double(v[at(k, c)]) - v[at(k - 1, c)];
      const double d_next = double(v[at(k + 1, c)]) - v[at(k, c)];
      in[at(k, c)] = float((in_a * d_prev + in_b * d_next) * in_scale);
      out[at(k, c)] = float((out_a * d_prev + out_b * d_next) * out_scale);
    }
  }
  const int last = count - 1;
  for (int c = 0; c < n; ++c) {
    const float first =
        end_tangent(v[at(0, c)], v[at(1, c)], v[at(2, c)], double(times[1]) - times[0],
                    double(times[2]) - times[0], tension[0]);
    in[at(0, c)] = out[at(0, c)] = first;
    const float end = end_tangent(v[at(last, c)], v[at(last - 1, c)], v[at(last - 2, c)],
                                  double(times[last]) - times[last - 1],
                                  double(times[last]) - times[last - 2], tension[last]);
    in[at(last, c)] = out[at(last, c)] = -end;
  }
}

}  // namespace model3da
