/*
** The interpreter's error codes. Each code's message is string 1053 + code of the
** program's string table; the box caption is string 1052 and its format string 1053.
*/
#ifndef ZARNE_SCRIPT_SCRIPT_ERRORS_H
#define ZARNE_SCRIPT_SCRIPT_ERRORS_H

enum TScriptError : int {
  kScriptOk = 0,
  kErrVariableOrCommandExpected = 1,
  kErrMustBeString = 2,
  kErrMustBeLocalString = 3,
  kErrMustBeLiteralString = 4,  // not raised
  kErrNotVerboseType = 5,
  kErrNotPrintType = 6,  // not raised
  kErrUnbalancedIf = 7,
  kErrUnbalancedWhile = 8,
  kErrInternal = 9,
  kErrAssignmentExpected = 10,
  kErrLabelExpected = 11,
  kErrMustBeLocalVariable = 12,
  kErrMustBeNumericLiteral = 13,  // not raised
  kErrCannotCompare = 14,         // not raised
  kErrRelationalExpected = 15,
  kErrTwoDecimalPoints = 16,
  kErrStringTooLong = 17,
  kErrExpectingToken = 18,
  kErrInvalidType = 19,
  kErrMustBeNumericOperand = 20,
  kErrUnbalancedParentheses = 21,
  kErrExpectingExpression = 22,
  kErrVariableTooLong = 23,
  kErrLabelTooLong = 24,
  kErrDuplicateLabel = 25,
  kErrBadArgument = 26,  // not raised
  kErrMustBeNumeric = 27,
  kErrMustBeString2 = 28,  // not raised
  kErrVariableExpected = 29,
  // Codes from 30 on: arithmetic that has no value, loops nested too deeply,
  // scripts that trigger each other without end, parentheses nested without end, and a
  // run that executes statements without end.
  kErrDivisionOrOverflow = 30,
  kErrTooManyLoops = 31,
  kErrScriptsNestedTooDeeply = 32,
  kErrExpressionTooDeep = 33,
  kErrScriptRanTooLong = 34,
};

constexpr unsigned kScriptErrorCaptionString = 1052;
constexpr unsigned kScriptErrorFormatString = 1053;

#endif
