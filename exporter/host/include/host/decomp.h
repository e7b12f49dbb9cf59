// decomp_affine: the decomposition of an affine transform into translation,
// rotation, stretch and mirror.
//
// For a transform M with 3x3 part A and translation t (row vectors):
//   A = S · (f · R(q)),  S = R(u)ᵀ · diag(k) · R(u)
// R(q) is a rotation, f is +1 or -1 (mirror), S is the symmetric stretch
// with positive factors k along the axes of u (the polar decomposition of A).
// So ApplyScaling(m, {k, u}) on m = f·R(q) with translation t gives M back.
#pragma once

#include "host/host_api.h"
#include "host/matrix3.h"

struct AffineParts {
  Point3 t;        // translation
  Quat q;          // essential rotation
  Quat u;          // stretch rotation
  Point3 k;        // stretch factors
  float f = 1.0f;  // sign of the determinant
};

// Decomposes `m` into `parts`. A singular 3x3 part gives q and u identity,
// k the lengths of the rows and f 1.
HOSTAPI void decomp_affine(const Matrix3& m, AffineParts* parts);

// The transform that `parts` describe: ApplyScaling of f·R(q) with t.
HOSTAPI Matrix3 compose_affine(const AffineParts& parts);
