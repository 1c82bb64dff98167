// A 2-D transform built lazily: while simple it is "pre-translate, then rotate or scale, then
// post-translate", kept as a few numbers so drawing can pick a cheap route; an operation that
// simple form cannot express turns it complex, after which only the matrix is used.
#pragma once

#include "framework/graphics/matrix.h"

namespace Tuvo {

class Affine2D {
public:
    // Degrees to radians with pi as the float 3.1415927.
    void RotateDeg(float degrees);
    void RotateRad(float radians);
    void Scale(float sx, float sy);
    // Moves the result (applied after everything so far).
    void Translate(float tx, float ty);
    // Moves the input (applied before everything so far).
    void PreTranslate(float tx, float ty);
    // Rebuilds the matrix when out of date and returns it.
    const Matrix3x3& GetMatrix();

    bool IsComplex() const { return complex_; }
    bool HasRotation() const { return hasRotation_; }
    bool HasScale() const { return hasScale_; }
    float PreTranslationX() const { return preTranslateX_; }
    float PreTranslationY() const { return preTranslateY_; }
    float PostTranslationX() const { return postTranslateX_; }
    float PostTranslationY() const { return postTranslateY_; }
    float ScaleX() const { return scaleX_; }
    float ScaleY() const { return scaleY_; }
    float Rotation() const { return rotation_; }

private:
    void MakeComplex();

    Matrix3x3 matrix_;
    bool matrixOutOfDate_ = true;
    bool complex_ = false;
    bool hasRotation_ = false;
    bool hasScale_ = false;
    float preTranslateX_ = 0;
    float preTranslateY_ = 0;
    float postTranslateX_ = 0;
    float postTranslateY_ = 0;
    float scaleX_ = 1;
    float scaleY_ = 1;
    float rotation_ = 0;
};

}  // namespace Tuvo
