// Builds the synthetic glTF character with the tests' GltfBuilder.
#include "bench/synthetic_gltf.h"

#include <cmath>
#include <vector>

#include "tests/support/gltf_builder.h"

namespace vorel {

namespace {

void addGrid(test_support::GltfBuilder& builder, int node, int side, int jointCount) {
    test_support::PrimitiveData grid;
    const std::size_t count = static_cast<std::size_t>(side) * static_cast<std::size_t>(side);
    grid.positions.reserve(3 * count);
    grid.normals.reserve(3 * count);
    grid.joints.reserve(4 * count);
    grid.weights.reserve(4 * count);
    for (int row = 0; row < side; ++row) {
        // Row r lies between joints j and j + 1 of the chain, nearer j.
        const double along = static_cast<double>(row) / side * (jointCount - 1);
        const auto joint = static_cast<std::uint32_t>(along);
        const auto next =
            std::min<std::uint32_t>(joint + 1, static_cast<std::uint32_t>(jointCount - 1));
        const float share = static_cast<float>(along - joint) * 0.5f;
        for (int column = 0; column < side; ++column) {
            grid.positions.insert(grid.positions.end(), {static_cast<float>(column) / side - 0.5f,
                                                         static_cast<float>(row) / side, 0.0f});
            grid.normals.insert(grid.normals.end(), {0.0f, 0.0f, 1.0f});
            grid.joints.insert(grid.joints.end(), {joint, next, 0, 0});
            grid.weights.insert(grid.weights.end(), {1.0f - share, share, 0.0f, 0.0f});
        }
    }
    grid.indices.reserve(6 * count);
    for (int row = 0; row + 1 < side; ++row) {
        for (int column = 0; column + 1 < side; ++column) {
            const auto corner = static_cast<std::uint32_t>(row * side + column);
            const auto up = corner + static_cast<std::uint32_t>(side);
            grid.indices.insert(grid.indices.end(),
                                {corner, corner + 1, up, up, corner + 1, up + 1});
        }
    }
    builder.addMesh(node, grid);
}

}  // namespace

std::string makeSyntheticGlb(int side, int jointCount, int keyCount) {
    test_support::GltfBuilder builder;
    const int body = builder.addNode("Body");
    std::vector<int> joints;
    std::vector<float> inverseBind;
    const float spacing = 1.0f / static_cast<float>(jointCount - 1);
    for (int j = 0; j < jointCount; ++j) {
        const int node = builder.addNode("Joint" + std::to_string(j), j == 0 ? -1 : joints.back());
        builder.model().nodes[static_cast<std::size_t>(node)].translation = {
            0.0, j == 0 ? 0.0 : spacing, 0.0};
        joints.push_back(node);
        const std::vector<float> matrix =
            test_support::translationInverseBind(0.0f, spacing * static_cast<float>(j), 0.0f);
        inverseBind.insert(inverseBind.end(), matrix.begin(), matrix.end());
    }
    addGrid(builder, body, side, jointCount);
    builder.model().nodes[static_cast<std::size_t>(body)].skin =
        builder.addSkin(joints, inverseBind);
    const int animation = builder.addAnimation("Sway");
    std::vector<float> times;
    for (int k = 0; k < keyCount; ++k) times.push_back(static_cast<float>(k) / 30.0f);
    for (int node : joints) {
        std::vector<float> rotations;
        for (int k = 0; k < keyCount; ++k) {
            const double half = 0.5 * 0.05 * std::sin(0.3 * k + 0.1 * node);
            rotations.insert(rotations.end(), {0.0f, 0.0f, static_cast<float>(std::sin(half)),
                                               static_cast<float>(std::cos(half))});
        }
        builder.addChannel(animation, node, "rotation", times, rotations);
    }
    return builder.glb();
}

}  // namespace vorel
