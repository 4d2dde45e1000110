#pragma once
#include "host/HostApi.h"
#include "host/framework/MMTransform.h"

// The data part; copied whole by copies and Clone.
struct MMTransformMatrixData {
  double matrix[4][4];   // row-major forward matrix
  double inverse[4][4];  // its inverse while inverseValid is set
  bool projective;       // row 3 differs from (0, 0, 0, 1)
  bool inverseValid;
  int kind;              // an MMTransformMatrix::EKind
};

// The framework's 4 x 4 matrix transform. Points are columns, out = M · (x, y, z, 1); the
// translation is column 3 and the projective terms are row 3. The matrix is classified into
// one of seven kinds after every change so that the inverse comes from the cheapest exact rule
// and the identity maps without arithmetic.
class VISTAL_HOST_API MMTransformMatrix : public MMTransform, protected MMTransformMatrixData {
public:
  enum EKind : int {
    eIdentity = 0,
    eTranslation = 1,
    eGeneral = 2,
    eRigid = 3,         // orthonormal 3 x 3 block, any translation
    eSimilarity = 4,    // rotation times a uniform scale, no translation
    eUniformScale = 5,  // s on the first three diagonal entries, no translation
    eDiagonal = 6,      // any diagonal, m33 = 1
  };

  // Tolerances of the rigid and similarity tests, on squared lengths and dot products.
  static constexpr double kRigidTolerance = 2.220446049250313e-15;
  static constexpr double kSimilarityTolerance = 2.220446049250313e-16;
  // SetRotation refuses axes no longer than this.
  static constexpr double kMinAxisLength = 1.4901161193847656e-08;

  // The identity.
  constexpr MMTransformMatrix()
      : MMTransformMatrixData{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}},
                              {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}},
                              false, true, eIdentity} {}
  // From 16 values, row by row; classified and inverted as by SetMatrix.
  explicit MMTransformMatrix(const double rowMajor[16]);
  MMTransformMatrix(const MMTransformMatrix&) = default;
  MMTransformMatrix& operator=(const MMTransformMatrix&) = default;
  ~MMTransformMatrix() override = default;

  // Throw MMTransformException::eZeroWeight when a projective mapping meets a weight of exactly
  // zero. InverseTransformPoint answers false while the inverse is not valid.
  bool TransformPoint(MMPoint3d<double>& out, const MMPoint3d<double>& in, bool asVector) const override;
  bool InverseTransformPoint(MMPoint3d<double>& out, const MMPoint3d<double>& in, bool asVector) const override;
  MMTransformMatrix* Clone() const override;
  void GetMatrixFloat(float m[16]) const override;
  // Exchanges the matrix and its inverse; kind and flags stay, because the inverse of each kind
  // is of the same kind.
  bool Invert() override;
  bool IsIdentity() const override { return kind == eIdentity; }

  // Recomputes the inverse by the rule of the current kind; the answer is also kept in
  // IsInverseValid.
  virtual bool UpdateInverse() { return _UpdateInverse(); }
  // Exact copy of the forward matrix, row by row.
  void GetMatrixDouble(double m[16]) const override;
  // Transposes the forward matrix, reclassifies it and recomputes the inverse.
  virtual void Transpose();

  // Replaces the forward matrix (row by row), reclassifies it and recomputes the inverse.
  void SetMatrix(const double rowMajor[16]);
  // Rotation by `angle` radians about `axis` through `center` (which stays fixed); row 3 is kept.
  // False, with the matrix unchanged, when the axis is too short to normalise.
  bool SetRotation(const MMPoint3d<double>& axis, double angle, const MMPoint3d<double>& center);
  // Becomes outer · inner (inner applies first). When both inverses are valid the inverse is
  // their product in reverse order rather than a fresh elimination, so a chain of invertible
  // transforms keeps its inverse; the special kinds still take their exact rules.
  void SetProduct(const MMTransformMatrix& outer, const MMTransformMatrix& inner);

  const double (&GetMatrix() const)[4][4] { return matrix; }
  const double (&GetInverse() const)[4][4] { return inverse; }
  EKind GetKind() const { return static_cast<EKind>(kind); }
  bool IsProjective() const { return projective; }
  bool IsInverseValid() const { return inverseValid; }

protected:
  // Sets `projective` and `kind` from the forward matrix.
  void _Classify();
  // Dispatches to the rule of the current kind and stores its answer in inverseValid.
  virtual bool _UpdateInverse();
  // One rule per kind; each fills `inverse` and answers whether it could.
  virtual bool _InvertGeneral();
  virtual bool _InvertIdentity();
  virtual bool _InvertTranslation();
  virtual bool _InvertRigid();
  virtual bool _InvertSimilarity();
  virtual bool _InvertUniformScale();
  virtual bool _InvertDiagonal();

private:
  bool _Map(const double (&m)[4][4], MMPoint3d<double>& out, const MMPoint3d<double>& in, bool asVector) const;
};
