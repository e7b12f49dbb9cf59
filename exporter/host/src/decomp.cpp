// decomp_affine: polar decomposition by the averaging iteration, then the
// stretch's eigen decomposition by Jacobi rotations.
#include "host/decomp.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

using M3 = std::array<std::array<double, 3>, 3>;

M3 part_of(const Matrix3& m) {
  M3 a{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) a[i][j] = m[i][j];
  return a;
}

M3 multiply(const M3& a, const M3& b) {
  M3 r{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k) r[i][j] += a[i][k] * b[k][j];
  return r;
}

M3 transpose(const M3& a) {
  M3 r{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) r[i][j] = a[j][i];
  return r;
}

double determinant(const M3& a) {
  return a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) -
         a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
         a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
}

// The transpose of the inverse; `det` is the determinant of `a`.
M3 inverse_transpose(const M3& a, double det) {
  M3 r{};
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      const int i1 = (i + 1) % 3, i2 = (i + 2) % 3, j1 = (j + 1) % 3, j2 = (j + 2) % 3;
      r[i][j] = (a[i1][j1] * a[i2][j2] - a[i1][j2] * a[i2][j1]) / det;
    }
  }
  return r;
}

// The orthogonal factor Q of A = S·Q: Q(n+1) = (Q(n) + Q(n)⁻ᵀ) / 2.
M3 polar_orthogonal(const M3& a) {
  M3 q = a;
  for (int iteration = 0; iteration < 100; ++iteration) {
    const double det = determinant(q);
    const M3 it = inverse_transpose(q, det);
    double change = 0.0;
    for (int i = 0; i < 3; ++i) {
      for (int j = 0; j < 3; ++j) {
        const double next = 0.5 * (q[i][j] + it[i][j]);
        change = std::max(change, std::fabs(next - q[i][j]));
        q[i][j] = next;
      }
    }
    if (change < 1e-12) break;
  }
  return q;
}

// Eigen decomposition of a symmetric matrix: s = Vᵀ·diag(k)·V, the rows of V
// being the eigenvectors.
void jacobi(M3 s, M3& v, std::array<double, 3>& k) {
  v = M3{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
  for (int sweep = 0; sweep < 50; ++sweep) {
    const double off = std::fabs(s[0][1]) + std::fabs(s[0][2]) + std::fabs(s[1][2]);
    if (off < 1e-15) break;
    for (int p = 0; p < 2; ++p) {
      for (int q = p + 1; q < 3; ++q) {
        if (std::fabs(s[p][q]) < 1e-300) continue;
        const double theta = (s[q][q] - s[p][p]) / (2.0 * s[p][q]);
        const double t =
            (theta >= 0 ? 1.0 : -1.0) / (std::fabs(theta) + std::sqrt(theta * theta + 1));
        const double c = 1.0 / std::sqrt(t * t + 1), sn = t * c;
        // s = Jᵀ s J with J the rotation in the (p, q) plane.
        for (int r = 0; r < 3; ++r) {
          const double srp = s[r][p], srq = s[r][q];
          s[r][p] = c * srp - sn * srq;
          s[r][q] = sn * srp + c * srq;
        }
        for (int r = 0; r < 3; ++r) {
          const double spr = s[p][r], sqr = s[q][r];
          s[p][r] = c * spr - sn * sqr;
          s[q][r] = sn * spr + c * sqr;
        }
        for (int r = 0; r < 3; ++r) {
          const double vpr = v[p][r], vqr = v[q][r];
          v[p][r] = c * vpr - sn * vqr;
          v[q][r] = sn * vpr + c * vqr;
        }
      }
    }
  }
  for (int i = 0; i < 3; ++i) k[i] = s[i][i];
}

Matrix3 to_matrix(const M3& a) {
  Matrix3 m;
  for (int i = 0; i < 3; ++i) m.SetRow(i, Point3(float(a[i][0]), float(a[i][1]), float(a[i][2])));
  return m;
}

}  // namespace

void decomp_affine(const Matrix3& m, AffineParts* parts) {
  parts->t = m.GetTrans();
  const M3 a = part_of(m);
  const double det = determinant(a);
  if (std::fabs(det) < 1e-20 || !std::isfinite(det)) {
    parts->q = Quat();
    parts->u = Quat();
    parts->k = Point3(m[0].Length(), m[1].Length(), m[2].Length());
    parts->f = 1.0f;
    return;
  }
  M3 q = polar_orthogonal(a);
  parts->f = 1.0f;
  if (determinant(q) < 0) {
    parts->f = -1.0f;
    for (auto& row : q)
      for (double& e : row) e = -e;
  }
  // A = S·(f·R) → S = A·(f·R)ᵀ.
  M3 s = multiply(a, transpose(q));
  if (parts->f < 0)
    for (auto& row : s)
      for (double& e : row) e = -e;
  for (int i = 0; i < 3; ++i)
    for (int j = i + 1; j < 3; ++j) s[i][j] = s[j][i] = 0.5 * (s[i][j] + s[j][i]);
  M3 v;
  std::array<double, 3> k{};
  jacobi(s, v, k);
  if (determinant(v) < 0) {
    for (double& e : v[2]) e = -e;
  }
  parts->q = MatrixToQuat(to_matrix(q));
  parts->u = MatrixToQuat(to_matrix(v));
  parts->k = Point3(float(k[0]), float(k[1]), float(k[2]));
}

Matrix3 compose_affine(const AffineParts& parts) {
  Matrix3 m = RotateMatrix(parts.q);
  for (int i = 0; i < 3; ++i) m.SetRow(i, m[i] * parts.f);
  m.SetTrans(parts.t);
  ApplyScaling(m, ScaleValue{parts.k, parts.u});
  return m;
}
