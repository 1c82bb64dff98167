#include "framework/graphics/affine2d.h"

#include <gtest/gtest.h>

namespace Tuvo {
namespace {

void ExpectMaps(const Matrix3x3& matrix, float x, float y, float expectedX, float expectedY) {
    float outX = 0;
    float outY = 0;
    matrix.Apply(x, y, outX, outY);
    EXPECT_NEAR(outX, expectedX, 1e-4f) << "x of (" << x << ", " << y << ")";
    EXPECT_NEAR(outY, expectedY, 1e-4f) << "y of (" << x << ", " << y << ")";
}

TEST(Matrix3x3Test, ProductAndRotation) {
    // The left operand applies last.
    ExpectMaps(Matrix3x3::Translation(10, 0) * Matrix3x3::Scaling(2, 3), 1, 1, 12, 3);
    ExpectMaps(Matrix3x3::Scaling(2, 3) * Matrix3x3::Translation(10, 0), 1, 1, 22, 3);
    // A positive angle turns a point right of the centre up (negative y on the y-down screen).
    ExpectMaps(Matrix3x3::Rotation(3.1415927f / 2), 1, 0, 0, -1);
    ExpectMaps(Matrix3x3::Rotation(3.1415927f / 2), 0, 1, 1, 0);
}

// Rotations add up while simple; from complex on, operations multiply the matrix.
TEST(Affine2DTest, TurnsComplexOnlyInItsCases) {
    Affine2D turned;
    turned.RotateDeg(60);
    turned.RotateRad(3.1415927f / 6);
    EXPECT_FALSE(turned.IsComplex());
    EXPECT_TRUE(turned.HasRotation());
    EXPECT_FLOAT_EQ(turned.Rotation(), 3.1415927f / 2);
    ExpectMaps(turned.GetMatrix(), 1, 0, 0, -1);
    // A plain scale or one mirror in x stays simple; mirroring back (scale x * sx = 1 is not
    // -1), a mirror in y or a mirror with a size change turn complex.
    const struct {
        float firstX, secondX, y;
        bool complex;
    } table[] = {
        {2, 1, 3, false}, {-1, 1, 1, false}, {-1, -1, 1, true}, {1, 1, -1, true}, {-2, 1, 1, true}};
    for (const auto& row : table) {
        Affine2D transform;
        transform.Scale(row.firstX, row.y);
        transform.Scale(row.secondX, 1);
        EXPECT_EQ(transform.IsComplex(), row.complex) << row.firstX << " " << row.secondX;
    }
    // A rotation and a scale together, in either order: (1, 0) -> (0, -2).
    Affine2D rotatedFirst;
    rotatedFirst.RotateDeg(90);
    rotatedFirst.Scale(2, 2);
    Affine2D scaledFirst;
    scaledFirst.Scale(2, 1);
    scaledFirst.RotateDeg(90);
    for (Affine2D* transform : {&rotatedFirst, &scaledFirst}) {
        EXPECT_TRUE(transform->IsComplex());
        ExpectMaps(transform->GetMatrix(), 1, 0, 0, -2);
    }
}

}  // namespace
}  // namespace Tuvo
