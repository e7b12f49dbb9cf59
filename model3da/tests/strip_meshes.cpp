// Test meshes for the strip builder.
#include "strip_meshes.h"

#include <algorithm>
#include <array>

namespace model3da::test {
namespace {

void add(Indices& out, int a, int b, int c) {
  out.push_back(static_cast<std::uint16_t>(a));
  out.push_back(static_cast<std::uint16_t>(b));
  out.push_back(static_cast<std::uint16_t>(c));
}

int uniform(std::mt19937& rng, int lo, int hi) {
  return std::uniform_int_distribution<int>(lo, hi)(rng);
}

}  // namespace

Indices grid(int w, int h, bool alternate) {
  Indices out;
  auto at = [w](int x, int y) { return y * (w + 1) + x; };
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int a = at(x, y), b = at(x + 1, y), c = at(x, y + 1), d = at(x + 1, y + 1);
      if (alternate && (x + y) % 2 == 1) {
        add(out, a, b, c);
        add(out, b, d, c);
      } else {
        add(out, a, b, d);
        add(out, a, d, c);
      }
    }
  }
  return out;
}

Indices sphere(int stacks, int slices) {
  Indices out;
  const int top = 0;
  const int bottom = 1 + (stacks - 1) * slices;
  auto ring = [slices](int r, int s) { return 1 + r * slices + (s % slices); };
  for (int s = 0; s < slices; ++s) add(out, top, ring(0, s + 1), ring(0, s));
  for (int r = 0; r + 1 < stacks - 1; ++r) {
    for (int s = 0; s < slices; ++s) {
      add(out, ring(r, s), ring(r, s + 1), ring(r + 1, s + 1));
      add(out, ring(r, s), ring(r + 1, s + 1), ring(r + 1, s));
    }
  }
  for (int s = 0; s < slices; ++s) add(out, bottom, ring(stacks - 2, s), ring(stacks - 2, s + 1));
  return out;
}

Indices torus(int around, int across) {
  Indices out;
  auto at = [&](int i, int j) { return (i % around) * across + (j % across); };
  for (int i = 0; i < around; ++i) {
    for (int j = 0; j < across; ++j) {
      add(out, at(i, j), at(i + 1, j), at(i + 1, j + 1));
      add(out, at(i, j), at(i + 1, j + 1), at(i, j + 1));
    }
  }
  return out;
}

Indices ribbon(int count) {
  Indices out;
  for (int i = 0; i < count; ++i) {
    if (i % 2 == 0) {
      add(out, i, i + 1, i + 2);
    } else {
      add(out, i + 1, i, i + 2);
    }
  }
  return out;
}

Indices soup(std::mt19937& rng, int count, int vertex_count) {
  Indices out;
  for (int i = 0; i < count; ++i)
    add(out, uniform(rng, 0, vertex_count - 1), uniform(rng, 0, vertex_count - 1),
        uniform(rng, 0, vertex_count - 1));
  return out;
}

int vertex_count(const Indices& indices) {
  int count = 0;
  for (std::uint16_t v : indices) count = std::max(count, v + 1);
  return count;
}

void shuffle_triangles(std::mt19937& rng, Indices& indices) {
  std::vector<std::array<std::uint16_t, 3>> tris;
  for (std::size_t i = 0; i + 2 < indices.size(); i += 3)
    tris.push_back({indices[i], indices[i + 1], indices[i + 2]});
  std::shuffle(tris.begin(), tris.end(), rng);
  indices.clear();
  for (const auto& t : tris) indices.insert(indices.end(), t.begin(), t.end());
}

void add_duplicates(std::mt19937& rng, Indices& indices, int count, bool rotated) {
  const int tris = static_cast<int>(indices.size() / 3);
  if (tris == 0) return;
  for (int i = 0; i < count; ++i) {
    const auto t = static_cast<std::size_t>(uniform(rng, 0, tris - 1)) * 3;
    const int r = rotated ? uniform(rng, 1, 2) : 0;
    add(indices, indices[t + static_cast<std::size_t>(r)],
        indices[t + static_cast<std::size_t>((r + 1) % 3)],
        indices[t + static_cast<std::size_t>((r + 2) % 3)]);
  }
}

void remove_triangles(std::mt19937& rng, Indices& indices, int count) {
  for (int i = 0; i < count && !indices.empty(); ++i) {
    const int tris = static_cast<int>(indices.size() / 3);
    const auto at = static_cast<std::ptrdiff_t>(uniform(rng, 0, tris - 1) * 3);
    indices.erase(indices.begin() + at, indices.begin() + at + 3);
  }
}

void add_degenerates(std::mt19937& rng, Indices& indices, int count) {
  const int n = std::max(vertex_count(indices), 1);
  for (int i = 0; i < count; ++i) {
    const int a = uniform(rng, 0, n - 1);
    const int b = uniform(rng, 0, n - 1);
    Indices tri;
    switch (uniform(rng, 0, 2)) {
      case 0:
        add(tri, a, a, b);
        break;
      case 1:
        add(tri, a, b, a);
        break;
      default:
        add(tri, b, a, a);
        break;
    }
    const auto at =
        static_cast<std::ptrdiff_t>(uniform(rng, 0, static_cast<int>(indices.size() / 3)) * 3);
    indices.insert(indices.begin() + at, tri.begin(), tri.end());
  }
}

void add_fins(std::mt19937& rng, Indices& indices, int count) {
  const int tris = static_cast<int>(indices.size() / 3);
  if (tris == 0) return;
  int next = vertex_count(indices);
  for (int i = 0; i < count; ++i) {
    const auto t = static_cast<std::size_t>(uniform(rng, 0, tris - 1)) * 3;
    const auto k = static_cast<std::size_t>(uniform(rng, 0, 2));
    const int a = indices[t + k];
    const int b = indices[t + (k + 1) % 3];
    if (uniform(rng, 0, 1) == 0) {
      add(indices, a, b, next++);
    } else {
      add(indices, b, a, next++);
    }
  }
}

void append_piece(Indices& indices, const Indices& piece) {
  const int offset = vertex_count(indices);
  for (std::uint16_t v : piece) indices.push_back(static_cast<std::uint16_t>(v + offset));
}

Indices random_input(std::mt19937& rng) {
  Indices out;
  const int pieces = uniform(rng, 1, 3);
  for (int p = 0; p < pieces; ++p) {
    Indices piece;
    switch (uniform(rng, 0, 5)) {
      case 0:
        piece = grid(uniform(rng, 1, 12), uniform(rng, 1, 10), uniform(rng, 0, 1) == 1);
        break;
      case 1:
        piece = sphere(uniform(rng, 2, 8), uniform(rng, 3, 12));
        break;
      case 2:
        piece = ribbon(uniform(rng, 1, 60));
        break;
      case 3:
        piece = soup(rng, uniform(rng, 1, 80), uniform(rng, 3, 40));
        break;
      case 4:
        piece = soup(rng, uniform(rng, 1, 40), uniform(rng, 3, 8));
        break;
      default:
        piece = grid(uniform(rng, 10, 20), uniform(rng, 1, 3));
        break;
    }
    if (uniform(rng, 0, 2) == 0) shuffle_triangles(rng, piece);
    append_piece(out, piece);
  }
  if (uniform(rng, 0, 3) == 0) add_duplicates(rng, out, uniform(rng, 1, 6), false);
  if (uniform(rng, 0, 3) == 0) add_duplicates(rng, out, uniform(rng, 1, 6), true);
  if (uniform(rng, 0, 3) == 0) add_degenerates(rng, out, uniform(rng, 1, 5));
  if (uniform(rng, 0, 3) == 0) add_fins(rng, out, uniform(rng, 1, 6));
  if (uniform(rng, 0, 4) == 0) shuffle_triangles(rng, out);
  return out;
}

}  // namespace model3da::test
