// 3x3 float matrix of the drawing interface, row-major. Points are column vectors:
// x' = m00 x + m01 y + m02, y' = m10 x + m11 y + m12.
#pragma once

namespace Tuvo {

struct Matrix3x3 {
    float m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};

    static constexpr Matrix3x3 Identity() { return Matrix3x3(); }
    static Matrix3x3 Translation(float tx, float ty);
    static Matrix3x3 Scaling(float sx, float sy);
    // R = (cos a, sin a, 0 / -sin a, cos a, 0 / 0, 0, 1): a positive angle turns
    // counter-clockwise on the y-down screen.
    static Matrix3x3 Rotation(float radians);

    Matrix3x3 operator*(const Matrix3x3& right) const;
    bool operator==(const Matrix3x3& other) const;

    // Maps a point (x, y, 1).
    void Apply(float x, float y, float& outX, float& outY) const {
        outX = m[0][0] * x + m[0][1] * y + m[0][2];
        outY = m[1][0] * x + m[1][1] * y + m[1][2];
    }
    // The inverse of the 2-D affine part; false when it is singular.
    bool InvertAffine(Matrix3x3& inverse) const;
};

}  // namespace Tuvo
