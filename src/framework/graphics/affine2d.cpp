// The lazy transform: simple while it is pre-translate, rotate or scale, post-translate.
#include "framework/graphics/affine2d.h"

namespace Tuvo {

namespace {
constexpr float kPi = 3.1415927f;
}

void Affine2D::RotateDeg(float degrees) {
    RotateRad(degrees * kPi / 180.0f);
}

void Affine2D::RotateRad(float radians) {
    if (complex_) {
        matrix_ = Matrix3x3::Rotation(radians) * matrix_;
        return;
    }
    if (!hasScale_) {
        rotation_ += radians;
        hasRotation_ = true;
        matrixOutOfDate_ = true;
        return;
    }
    MakeComplex();
    matrix_ = Matrix3x3::Rotation(radians) * matrix_;
}

void Affine2D::Scale(float sx, float sy) {
    const bool mirrorOnly = scaleX_ * sx == -1.0f;
    const bool staysSimple = !complex_ && !hasRotation_ && preTranslateX_ == 0 &&
                             preTranslateY_ == 0 && sy >= 0 && (sx >= 0 || mirrorOnly);
    if (staysSimple) {
        scaleX_ *= sx;
        scaleY_ *= sy;
        hasScale_ = true;
        matrixOutOfDate_ = true;
        return;
    }
    MakeComplex();
    matrix_ = Matrix3x3::Scaling(sx, sy) * matrix_;
}

void Affine2D::Translate(float tx, float ty) {
    if (complex_) {
        matrix_ = Matrix3x3::Translation(tx, ty) * matrix_;
        return;
    }
    postTranslateX_ += tx;
    postTranslateY_ += ty;
    matrixOutOfDate_ = true;
}

void Affine2D::PreTranslate(float tx, float ty) {
    // The simple form applies a scale before the pre-translation, so a move of the input under
    // a scale needs the matrix.
    if (!complex_ && hasScale_) {
        MakeComplex();
    }
    if (complex_) {
        matrix_ = matrix_ * Matrix3x3::Translation(tx, ty);
        return;
    }
    preTranslateX_ += tx;
    preTranslateY_ += ty;
    matrixOutOfDate_ = true;
}

const Matrix3x3& Affine2D::GetMatrix() {
    if (matrixOutOfDate_) {
        matrix_ = Matrix3x3::Translation(preTranslateX_, preTranslateY_);
        if (hasScale_) {
            matrix_.m[0][0] = scaleX_;
            matrix_.m[1][1] = scaleY_;
        } else if (hasRotation_) {
            matrix_ = Matrix3x3::Rotation(rotation_) * matrix_;
        }
        if (postTranslateX_ != 0 || postTranslateY_ != 0) {
            matrix_ = Matrix3x3::Translation(postTranslateX_, postTranslateY_) * matrix_;
        }
        matrixOutOfDate_ = false;
    }
    return matrix_;
}

void Affine2D::MakeComplex() {
    GetMatrix();
    complex_ = true;
}

}  // namespace Tuvo
