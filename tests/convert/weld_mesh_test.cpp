// weldMesh: every face corner keeps its position's and normal's bits, equal data merges only
// within one bone, each bone's data becomes one run, and distinct data is left as it was.
#include "convert/weld_mesh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vorel {
namespace {

constexpr std::int32_t NoBone = -1;

bool sameBits(const Vector3& a, const Vector3& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

Face faceOf(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t firstNormal) {
    Face face;
    const std::int32_t corners[4] = {a, b, c, c};
    for (int k = 0; k < 4; ++k) {
        face.positionIndices[k] = corners[k];
        face.normalIndices[k] = firstNormal + k;
    }
    return face;
}

// One triangle per three positions, a normal of its own per corner (as the glTF import
// makes them), `boneOf[v]` moving vertex v.
ImportedMesh meshOf(const std::vector<Vector3>& positions, const std::vector<Vector3>& normals,
                    const std::vector<std::int32_t>& boneOf, std::size_t bones) {
    ImportedMesh mesh;
    mesh.positions = positions;
    mesh.boneVertices.resize(bones);
    for (std::size_t v = 0; v < boneOf.size(); ++v) {
        if (boneOf[v] != NoBone)
            mesh.boneVertices[static_cast<std::size_t>(boneOf[v])].push_back(
                static_cast<std::int32_t>(v));
    }
    for (std::int32_t v = 0; v + 2 < static_cast<std::int32_t>(positions.size()); v += 3) {
        const std::int32_t first = static_cast<std::int32_t>(mesh.normals.size());
        mesh.faces.push_back(faceOf(v, v + 1, v + 2, first));
        for (std::int32_t k = 0; k < 4; ++k)
            mesh.normals.push_back(normals[static_cast<std::size_t>(v + std::min(k, 2))]);
    }
    return mesh;
}

std::int32_t boneMoving(const ImportedMesh& mesh, std::int32_t position) {
    for (std::size_t b = 0; b < mesh.boneVertices.size(); ++b) {
        const std::vector<std::int32_t>& moved = mesh.boneVertices[b];
        if (std::find(moved.begin(), moved.end(), position) != moved.end())
            return static_cast<std::int32_t>(b);
    }
    return NoBone;
}

// Every corner reads the same bits from a position of the same bone, every imported vertex
// maps to a bit-equal position of its bone.
void expectSameCorners(const ImportedMesh& before, const ImportedMesh& after) {
    ASSERT_EQ(before.faces.size(), after.faces.size());
    for (std::size_t f = 0; f < before.faces.size(); ++f) {
        for (int k = 0; k < 4; ++k) {
            const Face& was = before.faces[f];
            const Face& is = after.faces[f];
            EXPECT_TRUE(sameBits(before.positions[static_cast<std::size_t>(was.positionIndices[k])],
                                 after.positions[static_cast<std::size_t>(is.positionIndices[k])]))
                << f << " " << k;
            EXPECT_TRUE(sameBits(before.normals[static_cast<std::size_t>(was.normalIndices[k])],
                                 after.normals[static_cast<std::size_t>(is.normalIndices[k])]))
                << f << " " << k;
            EXPECT_EQ(boneMoving(before, was.positionIndices[k]),
                      boneMoving(after, is.positionIndices[k]));
        }
    }
    ASSERT_EQ(after.vertexPositions.size(), before.positions.size());
    for (std::size_t v = 0; v < before.positions.size(); ++v) {
        const std::int32_t position = after.vertexPositions[v];
        EXPECT_TRUE(
            sameBits(before.positions[v], after.positions[static_cast<std::size_t>(position)]))
            << v;
        EXPECT_EQ(boneMoving(before, static_cast<std::int32_t>(v)), boneMoving(after, position));
    }
}

// Whether no two positions of one bone, and no two normals reached from one bone, are equal.
bool everyValueDistinctWithinItsBone(const ImportedMesh& mesh) {
    for (std::size_t a = 0; a < mesh.positions.size(); ++a) {
        for (std::size_t b = a + 1; b < mesh.positions.size(); ++b) {
            if (sameBits(mesh.positions[a], mesh.positions[b]) &&
                boneMoving(mesh, static_cast<std::int32_t>(a)) ==
                    boneMoving(mesh, static_cast<std::int32_t>(b)))
                return false;
        }
    }
    for (const Face& face : mesh.faces) {
        for (const Face& other : mesh.faces) {
            for (int k = 0; k < 4; ++k) {
                for (int j = 0; j < 4; ++j) {
                    const bool sameGroup = boneMoving(mesh, face.positionIndices[k]) ==
                                           boneMoving(mesh, other.positionIndices[j]);
                    if (sameGroup && face.normalIndices[k] != other.normalIndices[j] &&
                        sameBits(mesh.normals[static_cast<std::size_t>(face.normalIndices[k])],
                                 mesh.normals[static_cast<std::size_t>(other.normalIndices[j])]))
                        return false;
                }
            }
        }
    }
    return true;
}

const Vector3 Up(0, 1, 0);
const Vector3 Side(1, 0, 0);

TEST(WeldMesh, EqualDataMergesWithinABoneAndNeverAcrossBones) {
    // Two triangles of bone 0 sharing an edge, one of bone 1 on the same corner points, one
    // static; all facing up but for bone 1's last corner.
    const std::vector<Vector3> positions = {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}, {1, 0, 0},
                                            {1, 0, 1}, {0, 0, 1}, {0, 0, 0}, {1, 0, 0},
                                            {0, 0, 1}, {0, 0, 0}, {1, 0, 0}, {0, 0, 1}};
    const std::vector<Vector3> normals = {Up, Up, Up, Up, Up, Up, Up, Up, Side, Up, Up, Up};
    const ImportedMesh before =
        meshOf(positions, normals, {0, 0, 0, 0, 0, 0, 1, 1, 1, NoBone, NoBone, NoBone}, 2);
    ImportedMesh after = before;
    weldMesh(after);
    expectSameCorners(before, after);
    // Bone 0: four corner points, one normal; bone 1: three points, two normals; static: three
    // points, one normal.
    EXPECT_EQ(after.positions.size(), 4u + 3u + 3u);
    EXPECT_EQ(after.normals.size(), 1u + 2u + 1u);
    EXPECT_TRUE(everyValueDistinctWithinItsBone(after));
}

TEST(WeldMesh, EachBonesDataIsOneRunInBoneOrderWithUnmovedDataLast) {
    // Bones interleaved triangle by triangle, the static one first.
    const std::vector<Vector3> positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 2},
                                            {1, 0, 2}, {0, 1, 2}, {0, 0, 3}, {1, 0, 3},
                                            {0, 1, 3}, {0, 0, 4}, {1, 0, 4}, {0, 1, 4}};
    const std::vector<Vector3> normals = {Up, Side, Up, Up, Side, Up, Up, Side, Up, Up, Side, Up};
    const ImportedMesh before =
        meshOf(positions, normals, {NoBone, NoBone, NoBone, 1, 1, 1, 0, 0, 0, 1, 1, 1}, 2);
    ImportedMesh after = before;
    weldMesh(after);
    expectSameCorners(before, after);
    EXPECT_EQ(after.boneVertices[0], (std::vector<std::int32_t>{0, 1, 2}));
    EXPECT_EQ(after.boneVertices[1], (std::vector<std::int32_t>{3, 4, 5, 6, 7, 8}));
    // The normals each group reaches: bone 0 {0, 1}, bone 1 {2, 3}, static {4, 5}.
    for (const Face& face : after.faces) {
        for (int k = 0; k < 4; ++k) {
            const std::int32_t bone = boneMoving(after, face.positionIndices[k]);
            const std::int32_t firstNormal = bone == NoBone ? 4 : 2 * bone;
            EXPECT_GE(face.normalIndices[k], firstNormal);
            EXPECT_LT(face.normalIndices[k], firstNormal + 2);
        }
    }
    // The order depends on the mesh alone.
    ImportedMesh again = before;
    weldMesh(again);
    EXPECT_EQ(again.vertexPositions, after.vertexPositions);
}

TEST(WeldMesh, AMeshWhoseDataIsAllDistinctIsUnchanged) {
    // Bit-different zeros are different data too.
    const std::vector<Vector3> positions = {{0, 0, 0},     {1, 0, 0}, {0, 1, 0},
                                            {-0.0f, 0, 0}, {1, 1, 0}, {0, 2, 0}};
    const std::vector<Vector3> normals = {Up, Side, {0, 0, 1}, {0, -0.0f, 1}, {0, 1, 1}, {1, 1, 1}};
    ImportedMesh before = meshOf(positions, normals, {0, 0, 0, 0, 0, 0}, 1);
    // One normal per distinct corner: the repeated last corner shares its normal.
    before.normals.clear();
    for (std::size_t f = 0; f < before.faces.size(); ++f) {
        for (int k = 0; k < 4; ++k) {
            before.faces[f].normalIndices[k] = static_cast<std::int32_t>(3 * f) + std::min(k, 2);
            if (k < 3) before.normals.push_back(normals[3 * f + static_cast<std::size_t>(k)]);
        }
    }
    ImportedMesh after = before;
    weldMesh(after);
    ASSERT_EQ(after.positions.size(), before.positions.size());
    ASSERT_EQ(after.normals.size(), before.normals.size());
    for (std::size_t v = 0; v < before.positions.size(); ++v) {
        EXPECT_TRUE(sameBits(after.positions[v], before.positions[v])) << v;
        EXPECT_EQ(after.vertexPositions[v], static_cast<std::int32_t>(v));
    }
    for (std::size_t n = 0; n < before.normals.size(); ++n)
        EXPECT_TRUE(sameBits(after.normals[n], before.normals[n])) << n;
    for (std::size_t f = 0; f < before.faces.size(); ++f) {
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(after.faces[f].positionIndices[k], before.faces[f].positionIndices[k]);
            EXPECT_EQ(after.faces[f].normalIndices[k], before.faces[f].normalIndices[k]);
        }
    }
    EXPECT_EQ(after.boneVertices, before.boneVertices);
}

VertexInfluences twoBones(float first, float second) {
    VertexInfluences influences;
    influences.count = 2;
    influences.influences[0] = {0, first};
    influences.influences[1] = {1, second};
    return influences;
}

TEST(WeldMesh, WeightedVerticesMergeOnlyWhenTheirInfluencesAreBitEqual) {
    // Three triangles on the same three corner points, all facing up: the first two weighted
    // alike, the third's weights one float step apart on every corner.
    const std::vector<Vector3> corners = {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}};
    std::vector<Vector3> positions, normals;
    for (int t = 0; t < 3; ++t) {
        positions.insert(positions.end(), corners.begin(), corners.end());
        normals.insert(normals.end(), {Up, Up, Up});
    }
    ImportedMesh mesh = meshOf(positions, normals, std::vector<std::int32_t>(9, NoBone), 2);
    const float nextToHalf = std::nextafter(0.5f, 1.0f);
    mesh.influences.assign(9, twoBones(0.5f, 0.5f));
    for (std::size_t v = 6; v < 9; ++v) mesh.influences[v] = twoBones(nextToHalf, 0.5f);
    const ImportedMesh before = mesh;
    weldMesh(mesh);
    ASSERT_EQ(mesh.positions.size(), 6u);
    ASSERT_EQ(mesh.influences.size(), 6u);
    ASSERT_EQ(mesh.vertexPositions.size(), 9u);
    for (std::size_t v = 0; v < 9; ++v) {
        const VertexInfluences& was = before.influences[v];
        const VertexInfluences& is =
            mesh.influences[static_cast<std::size_t>(mesh.vertexPositions[v])];
        EXPECT_EQ(0, std::memcmp(&was, &is, sizeof was)) << v;
        EXPECT_EQ(mesh.vertexPositions[v], mesh.vertexPositions[v % 3 + (v < 6 ? 0 : 6)]) << v;
    }
    EXPECT_NE(mesh.vertexPositions[0], mesh.vertexPositions[6]);
    // Weighted vertices are in no bone's list, and normals are not shared across the sets.
    for (const std::vector<std::int32_t>& moved : mesh.boneVertices) EXPECT_TRUE(moved.empty());
    EXPECT_EQ(mesh.normals.size(), 2u);
    EXPECT_NE(mesh.faces[0].normalIndices[0], mesh.faces[2].normalIndices[0]);
}

}  // namespace
}  // namespace vorel
