#include "framework/graphics/affine2d.h"

#include <cmath>

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

TEST(Matrix3x3Test, ProductRotationAndInverse) {
    // The left operand applies last.
    ExpectMaps(Matrix3x3::Translation(10, 0) * Matrix3x3::Scaling(2, 3), 1, 1, 12, 3);
    ExpectMaps(Matrix3x3::Scaling(2, 3) * Matrix3x3::Translation(10, 0), 1, 1, 22, 3);
    // A positive angle turns a point right of the centre up (negative y on the y-down screen).
    ExpectMaps(Matrix3x3::Rotation(3.1415927f / 2), 1, 0, 0, -1);
    ExpectMaps(Matrix3x3::Rotation(3.1415927f / 2), 0, 1, 1, 0);
    const Matrix3x3 m =
        Matrix3x3::Translation(5, -2) * Matrix3x3::Rotation(0.7f) * Matrix3x3::Scaling(2, 0.5f);
    Matrix3x3 inverse;
    ASSERT_TRUE(m.InvertAffine(inverse));
    ExpectMaps(inverse * m, 3, 4, 3, 4);
    EXPECT_FALSE(Matrix3x3::Scaling(0, 1).InvertAffine(inverse));
}

TEST(Affine2DTest, SimpleFormIsPreTranslateRotateOrScalePostTranslate) {
    Affine2D transform;
    transform.PreTranslate(-4, 0);
    transform.RotateDeg(60);
    transform.RotateRad(3.1415927f / 6);  // rotations add up while simple
    transform.Translate(100, 50);
    EXPECT_FALSE(transform.IsComplex());
    EXPECT_TRUE(transform.HasRotation());
    EXPECT_FLOAT_EQ(transform.Rotation(), 3.1415927f / 2);
    // (5, 0) -> (1, 0) -> rotated (0, -1) -> (100, 49)
    ExpectMaps(transform.GetMatrix(), 5, 0, 100, 49);
    Affine2D plain;
    plain.Scale(2, 3);
    plain.Translate(4, 20);
    plain.Translate(6, 0);  // translations add up
    ExpectMaps(plain.GetMatrix(), 1, 1, 12, 23);
}

// From complex on, operations multiply the matrix.
TEST(Affine2DTest, TurnsComplexOnlyInItsCases) {
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
    scaledFirst.Translate(5, 5);
    ExpectMaps(scaledFirst.GetMatrix(), 1, 0, 5, 3);
    // A pre-translation with a scale, in either order; the matrix built before turning complex
    // counts: (1, 0) -> (4, 0) -> (8, 0), and (0, 0) -> (1, 0) -> (2, 0).
    Affine2D moved;
    moved.PreTranslate(3, 0);
    moved.Scale(2, 2);
    EXPECT_TRUE(moved.IsComplex());
    ExpectMaps(moved.GetMatrix(), 1, 0, 8, 0);
    Affine2D scaled;
    scaled.Scale(2, 2);
    scaled.PreTranslate(1, 0);
    EXPECT_TRUE(scaled.IsComplex());
    ExpectMaps(scaled.GetMatrix(), 0, 0, 2, 0);
}

}  // namespace
}  // namespace Tuvo
