// Vector4: the default point at the origin, construction from a Vector3 and indexed access.
#include "math/vector4.h"

#include <gtest/gtest.h>

namespace vorel {
namespace {

TEST(Vector4Construction, DefaultIsThePointAtTheOriginNotAllZeros) {
    EXPECT_EQ(Vector4(), Vector4(0.0f, 0.0f, 0.0f, 1.0f));
}

TEST(Vector4Construction, FromVector3KeepsItsComponentsAndTakesW) {
    EXPECT_EQ(Vector4(Vector3(1.0f, 2.0f, 3.0f), 0.0f), Vector4(1.0f, 2.0f, 3.0f, 0.0f));
}

TEST(Vector4Access, ComponentIndexesXYZWInOrder) {
    Vector4 v(1.0f, 2.0f, 3.0f, 4.0f);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(v.component(i), float(i + 1));
    v.component(2) = -7.0f;
    EXPECT_EQ(v, Vector4(1.0f, 2.0f, -7.0f, 4.0f));
}

}  // namespace
}  // namespace vorel
