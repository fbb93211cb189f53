// walkBones: the one pre-order walk over a first-child / next-sibling bone tree (a bone, its
// whole first-child subtree, then its next sibling), with an explicit stack instead of
// recursion so that the deepest tree a file can describe never overflows the call stack.
#pragma once

#include <vector>

namespace vorel {

// A sibling still to visit, with the value its skeletal parent handed down.
template <typename Node, typename Carry>
struct PendingBone {
    Node* node;
    Carry carry;
};

// Calls visit(node, carry) on every node from start on, in pre-order. carry is the value the
// skeletal parent's visit returned (startCarry for start and its siblings); visit returns the
// value for the node's own children. pending is caller-owned scratch storage so that a walk
// repeated every frame reuses its capacity instead of allocating.
template <typename Node, typename Carry, typename Visit>
void walkBones(Node* start, const Carry& startCarry, std::vector<PendingBone<Node, Carry>>& pending,
               Visit&& visit) {
    pending.clear();
    Node* node = start;
    Carry carry = startCarry;
    while (node != nullptr) {
        Carry childCarry = visit(*node, carry);
        if (node->nextSibling) pending.push_back({node->nextSibling.get(), carry});
        if (node->firstChild) {
            node = node->firstChild.get();
            carry = childCarry;
        } else if (!pending.empty()) {
            node = pending.back().node;
            carry = pending.back().carry;
            pending.pop_back();
        } else {
            node = nullptr;
        }
    }
}

// For walks that hand nothing down from parent to child.
struct NoCarry {};

template <typename Node>
using PendingBones = std::vector<PendingBone<Node, NoCarry>>;

// Calls visit(node) on every node from start on, in pre-order.
template <typename Node, typename Visit>
void walkBones(Node* start, PendingBones<Node>& pending, Visit&& visit) {
    walkBones(start, NoCarry{}, pending, [&visit](Node& node, NoCarry) {
        visit(node);
        return NoCarry{};
    });
}

}  // namespace vorel
