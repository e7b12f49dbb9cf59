// Triangle lists for the strip builder tests: regular surfaces and the awkward
// inputs a modeller's meshes contain (duplicates, degenerate faces, edges with
// three faces, loose pieces).
#pragma once

#include <cstdint>
#include <random>
#include <vector>

namespace model3da::test {

using Indices = std::vector<std::uint16_t>;

// A grid of w x h quads, two triangles each, the diagonal alternating when
// `alternate` is set. Vertices (w + 1) * (h + 1).
Indices grid(int w, int h, bool alternate = false);
// A closed sphere of `stacks` rings of `slices` quads, with two poles.
Indices sphere(int stacks, int slices);
// A closed torus of `around` x `across` quads, two triangles each; every
// vertex lies in six triangles.
Indices torus(int around, int across);
// A ribbon of `count` consistently wound triangles (i, i+1, i+2).
Indices ribbon(int count);
// `count` random triangles over `vertex_count` vertices (degenerate ones too).
Indices soup(std::mt19937& rng, int count, int vertex_count);

// Highest index plus one (0 for an empty list).
int vertex_count(const Indices& indices);
// Shuffles the order of the triangles.
void shuffle_triangles(std::mt19937& rng, Indices& indices);
// Appends `count` copies of random triangles: same order or rotated.
void add_duplicates(std::mt19937& rng, Indices& indices, int count, bool rotated);
// Removes `count` random triangles (fewer when there are fewer), leaving holes.
void remove_triangles(std::mt19937& rng, Indices& indices, int count);
// Inserts `count` degenerate triangles at random places.
void add_degenerates(std::mt19937& rng, Indices& indices, int count);
// Adds `count` triangles on existing edges with new third vertices, so that
// those edges get three or more faces.
void add_fins(std::mt19937& rng, Indices& indices, int count);
// Appends `piece` with its indices moved past those of `indices`.
void append_piece(Indices& indices, const Indices& piece);

// A random input mixing the above, small enough for the plain builder.
Indices random_input(std::mt19937& rng);

}  // namespace model3da::test
