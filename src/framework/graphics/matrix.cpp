// Matrix products, the standard transforms and the affine inverse.
#include "framework/graphics/matrix.h"

#include <cmath>

namespace Tuvo {

Matrix3x3 Matrix3x3::Translation(float tx, float ty) {
    Matrix3x3 result;
    result.m[0][2] = tx;
    result.m[1][2] = ty;
    return result;
}

Matrix3x3 Matrix3x3::Scaling(float sx, float sy) {
    Matrix3x3 result;
    result.m[0][0] = sx;
    result.m[1][1] = sy;
    return result;
}

Matrix3x3 Matrix3x3::Rotation(float radians) {
    const float c = std::cos(radians);
    const float s = std::sin(radians);
    Matrix3x3 result;
    result.m[0][0] = c;
    result.m[0][1] = s;
    result.m[1][0] = -s;
    result.m[1][1] = c;
    return result;
}

Matrix3x3 Matrix3x3::operator*(const Matrix3x3& right) const {
    Matrix3x3 result;
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            result.m[row][column] = m[row][0] * right.m[0][column] +
                                    m[row][1] * right.m[1][column] + m[row][2] * right.m[2][column];
        }
    }
    return result;
}

bool Matrix3x3::operator==(const Matrix3x3& other) const {
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            if (m[row][column] != other.m[row][column]) {
                return false;
            }
        }
    }
    return true;
}

bool Matrix3x3::InvertAffine(Matrix3x3& inverse) const {
    const double a = m[0][0], b = m[0][1], c = m[0][2];
    const double d = m[1][0], e = m[1][1], f = m[1][2];
    const double determinant = a * e - b * d;
    if (!std::isfinite(determinant) || std::fabs(determinant) < 1e-12) {
        return false;
    }
    inverse = Matrix3x3();
    inverse.m[0][0] = static_cast<float>(e / determinant);
    inverse.m[0][1] = static_cast<float>(-b / determinant);
    inverse.m[0][2] = static_cast<float>((b * f - c * e) / determinant);
    inverse.m[1][0] = static_cast<float>(-d / determinant);
    inverse.m[1][1] = static_cast<float>(a / determinant);
    inverse.m[1][2] = static_cast<float>((c * d - a * f) / determinant);
    return true;
}

}  // namespace Tuvo
