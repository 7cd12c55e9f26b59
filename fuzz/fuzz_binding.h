/*
** The data fields the fuzz targets bind: a few fields of each display kind on both field
** lists, with the values a statement window would hold, restored before every input. A
** name the code under test reads or writes must be one of them.
*/
#ifndef ZARNE_FUZZ_FUZZ_BINDING_H
#define ZARNE_FUZZ_FUZZ_BINDING_H

#include "script/script_field_binding.h"
#include "tableaccess/field_list.h"

#include <cstddef>
#include <string>

constexpr size_t kFuzzFieldCount = 10;

class FuzzBinding : public TScriptFieldBinding {
 public:
  /* Puts the fields on the field lists; once per process. */
  void Install();
  /* Gives every field its starting value again. */
  void Restore();

  HWND ScriptOwnerWindow() override { return nullptr; }
  bool ReadFieldText(const TFieldNode* field, char* buffer, int size) override;
  bool ReadFieldDouble(const TFieldNode* field, double* value) override;
  bool ReadFieldLong(const TFieldNode* field, LONG* value) override;
  bool WriteFieldText(const TFieldNode* field, const char* text) override;
  bool WriteFieldDouble(const TFieldNode* field, double value) override;
  bool WriteFieldLong(const TFieldNode* field, LONG value) override;
  void FieldStored(const TFieldNode* field) override { Index(field); }
  /* A stand-in for the window's formatting: the text, or the number plainly printed. */
  void FormatFieldText(const TFieldNode* field, char* out, unsigned size, char mode) override;
  void GetBuyerNames(char* out, unsigned size) override;

 private:
  size_t Index(const TFieldNode* field) const;

  const TFieldNode* nodes_[kFuzzFieldCount] = {};
  std::string texts_[kFuzzFieldCount];
  double reals_[kFuzzFieldCount] = {};
  LONG wholes_[kFuzzFieldCount] = {};
};

#endif
