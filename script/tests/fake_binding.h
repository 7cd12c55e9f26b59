/*
** The fake statement window the script tests and the fuzz targets bind scripts to: data
** fields kept in memory, put on the data-field lists while it lives. A script may name only
** these fields; anything else (an unknown field, a buffer of no size) stops the program, as a
** fault of the code under test.
*/
#ifndef ZARNE_SCRIPT_TESTS_FAKE_BINDING_H
#define ZARNE_SCRIPT_TESTS_FAKE_BINDING_H

#include "script/script_field_binding.h"

#include <functional>
#include <map>
#include <memory>
#include <string>

/* A data field of the fake statement window. */
struct FakeField {
  std::string name;
  int displayKind = 1;        // text
  bool statementList = true;  // else in the other field list
  std::string text;
  double real = 0;
  LONG whole = 0;
};

/* A statement window stand-in: its fields are put in the data-field lists (and taken out
   again when it goes), it counts stores, and runs a hook after each store (what the
   statement's recalculation would do). */
class FakeBinding : public TScriptFieldBinding {
 public:
  ~FakeBinding() override;
  FakeField& Add(FakeField field);
  FakeField& Field(const std::string& name);
  int StoredCount(const std::string& name) const;
  std::function<void(FakeField&)> afterStore;

  HWND ScriptOwnerWindow() override { return nullptr; }
  bool ReadFieldText(const TFieldNode* field, char* buffer, int size) override;
  bool ReadFieldDouble(const TFieldNode* field, double* value) override;
  bool ReadFieldLong(const TFieldNode* field, LONG* value) override;
  bool WriteFieldText(const TFieldNode* field, const char* text) override;
  bool WriteFieldDouble(const TFieldNode* field, double value) override;
  bool WriteFieldLong(const TFieldNode* field, LONG value) override;
  void FieldStored(const TFieldNode* field) override;
  /* The fake's field text is its text, or its whole number for a non-text kind. */
  void FormatFieldText(const TFieldNode* field, char* out, unsigned size, char mode) override;
  void GetGranteeText(char* out, unsigned size) override { CopyCut(grantee, out, size); }
  void GetGrantorText(char* out, unsigned size) override { CopyCut(grantor, out, size); }
  void GetBuyerNames(char* out, unsigned size) override { CopyCut(buyers, out, size); }
  void GetSellerNames(char* out, unsigned size) override { CopyCut(sellers, out, size); }
  std::string grantee, grantor, buyers, sellers;
  /* The modes FormatFieldText was asked for, in order. */
  std::string formatModes;

 private:
  static void CopyCut(const std::string& text, char* out, unsigned size);
  FakeField& Of(const TFieldNode* field);
  std::map<const TFieldNode*, std::unique_ptr<FakeField>> fields_;
  std::map<std::string, int> stores_;
};

#endif
