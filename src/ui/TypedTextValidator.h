#pragma once

#include <QValidator>

// The limits of a field where the user types a name that goes into a record:
// its length, and characters the record's single-byte set can hold (a cut
// then never splits a character). They hold only for typing: text the
// program puts in the field is shown whole, however long (QLineEdit's own
// maximum length would cut that too).
class TypedTextValidator : public QValidator {
 public:
  TypedTextValidator(int maxLength, QObject* parent);

  State validate(QString& input, int& position) const override;

 private:
  int MaxLength;
};
