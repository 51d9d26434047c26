#include "ui/TypedTextValidator.h"

TypedTextValidator::TypedTextValidator(int maxLength, QObject* parent)
    : QValidator(parent), MaxLength(maxLength) {}

QValidator::State TypedTextValidator::validate(QString& input, int&) const {
  return input.size() > MaxLength ? Invalid : Acceptable;
}
