// Assembles the model record: header, one material, the mesh from the body parts and the bone
// tree in first-child / next-sibling form.
#include "dancer/dancer_model.h"

#include "dancer/body_parts.h"
#include "dancer/mesh_builder.h"

namespace vorel {

namespace {

// The only material: a soft magenta, the colour the viewer paints the figure with anyway.
MaterialRecord makeMaterial() {
    MaterialRecord material;
    material.firstColour[0] = 191.0f / 255.0f;
    material.firstColour[2] = 191.0f / 255.0f;
    material.secondColour[0] = 1.0f;
    material.secondColour[1] = 1.0f;
    material.secondColour[2] = 1.0f;
    return material;
}

std::unique_ptr<BoneData> makeBone(const BoneLayout& layout, std::vector<std::int32_t> vertices) {
    auto bone = std::make_unique<BoneData>();
    bone->name = layout.name;
    bone->head = layout.head;
    bone->tail = layout.tail;
    bone->up = layout.up;
    bone->vertices = std::move(vertices);
    return bone;
}

// Builds the chain of bones whose parent is `parent`, each with its own subtree.
std::unique_ptr<BoneData> buildChildren(const SkeletonLayout& skeleton, int parent,
                                        std::vector<std::vector<std::int32_t>>& vertices) {
    std::unique_ptr<BoneData> chain;
    for (int i = static_cast<int>(skeleton.bones.size()) - 1; i >= 0; --i) {
        const BoneLayout& layout = skeleton.bones[static_cast<std::size_t>(i)];
        if (layout.parent != parent) continue;
        auto bone = makeBone(layout, std::move(vertices[static_cast<std::size_t>(i)]));
        bone->firstChild = buildChildren(skeleton, i, vertices);
        bone->nextSibling = std::move(chain);
        chain = std::move(bone);
    }
    return chain;
}

}  // namespace

std::unique_ptr<ModelData> buildDancerModel(const BodyProportions& body,
                                            const SkeletonLayout& skeleton) {
    MeshBuilder mesh(static_cast<int>(skeleton.bones.size()));
    addBodyParts(mesh, body, skeleton);

    auto model = std::make_unique<ModelData>();
    model->header = std::make_unique<ModelHeader>(standardModelHeader());
    model->materials.push_back(makeMaterial());
    model->positions = std::move(mesh.positions);
    model->normals = std::move(mesh.normals);
    model->faces = std::move(mesh.faces);
    model->rootBone = buildChildren(skeleton, -1, mesh.boneVertices);
    return model;
}

}  // namespace vorel
