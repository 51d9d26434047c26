#include "ui/TypedTextValidator.h"

#include "music/Windows1252.h"

TypedTextValidator::TypedTextValidator(int maxLength, QObject* parent)
    : QValidator(parent), MaxLength(maxLength) {}

QValidator::State TypedTextValidator::validate(QString& input, int&) const {
  if (input.size() > MaxLength) return Invalid;
  for (const QChar c : input)
    if (!Windows1252::holds(c.unicode())) return Invalid;
  return Acceptable;
}
