#pragma once
// Every text the solver program writes into an error file, or parts of it. The page
// shows the first line of the error file after "Error: ", so each message is one
// sentence-like line that names the variable, file and line it is about.

namespace orv::solver {

// Syntax errors of one expression (completed with the file, line and position).
inline constexpr char kSyntaxExpressionExpected[] = "a value or name is expected";
inline constexpr char kSyntaxUnexpected[] = "unexpected character";
inline constexpr char kSyntaxUnbalanced[] = "\")\" without \"(\"";
inline constexpr char kSyntaxCloseParenExpected[] = "\")\" is expected";
inline constexpr char kSyntaxCommaOrParenExpected[] = "\",\" or \")\" is expected";
inline constexpr char kSyntaxBadNumber[] = "malformed number";
inline constexpr char kSyntaxExponentDigits[] = "digits of the exponent are expected";
inline constexpr char kSyntaxUnclosedText[] = "text without its closing quote";
inline constexpr char kSyntaxChainedComparison[] = "comparisons cannot be chained";
inline constexpr char kSyntaxIfArguments[] = "if takes 3 arguments: if(condition, then, else)";
inline constexpr char kSyntaxOneArgument[] = " takes 1 argument";
inline constexpr char kSyntaxTwoOrMoreArguments[] = " takes 2 or more arguments";
inline constexpr char kSyntaxUnknownFunction[] = "unknown function ";
inline constexpr char kSyntaxTooDeep[] = "the expression is too long or nested too deeply";
inline constexpr char kSyntaxStatementExpected[] = "\"name = expression\" is expected";
inline constexpr char kSyntaxBadName[] = "not a valid variable name";
inline constexpr char kSyntaxReservedName[] = "pi is a built-in constant";

// Evaluation errors (completed with " in the equation of <name> (<where>)").
inline constexpr char kEvalDivisionByZero[] = "Division by zero";
inline constexpr char kEvalSqrtNegative[] = "Square root of a negative number";
inline constexpr char kEvalLnNotPositive[] = "ln of a number that is not positive";
inline constexpr char kEvalLog10NotPositive[] = "log10 of a number that is not positive";
inline constexpr char kEvalNegativePower[] = "Negative number raised to a non-integer power";
inline constexpr char kEvalUndefined[] = "Undefined result";
inline constexpr char kEvalOverflow[] = "Numeric overflow";
inline constexpr char kEvalTextInArithmetic[] = "Text used in arithmetic";
inline constexpr char kEvalTextAndNumber[] = "Text and number mixed";
inline constexpr char kEvalTextOperator[] = "Texts can only be joined (+) or compared";
inline constexpr char kEvalUnboundVariable[] = "Unknown variable ";
inline constexpr char kEvalNumberForText[] = "A number given for a text variable";

// Syntax of the directives of the solver input file.
inline constexpr char kSyntaxUnknownDirective[] = "unknown directive ";
inline constexpr char kSyntaxQuotedFileExpected[] = "a file name in apostrophes is expected";
inline constexpr char kSyntaxUnknownSwitch[] = "unknown switch ";
inline constexpr char kSyntaxPlotWindowExpected[] = "a plot window number is expected";

// Syntax of the equations file.
inline constexpr char kSyntaxUnknownSetting[] = "unknown setting ";
inline constexpr char kSyntaxUnknownPlotSetting[] = "unknown plot setting ";
inline constexpr char kSyntaxUnknownFormat[] =
    "unknown display format (A, E, F, G, S or T and one digit)";
inline constexpr char kSyntaxNotANumber[] = "not a number";
inline constexpr char kSyntaxWholeNumber[] = "a whole number is expected";
inline constexpr char kSyntaxPlotSize[] = "the size must be from 120 x 90 to 2000 x 2000";
inline constexpr char kSyntaxPlotPoints[] = "the number of points must be from 2 to 2000";
inline constexpr char kSyntaxTextExpected[] = "a text is expected";
inline constexpr char kSyntaxClosingQuote[] = "the closing quote is missing";
inline constexpr char kSyntaxPlotInPlot[] = "PLOT inside a PLOT block (END is missing)";

// Whole-run errors.
inline constexpr char kUsage[] = "Usage: <NAME>.EXE /DIAGRAMINPUT=<input file>";
inline constexpr char kEquationsNotFound[] = "The equations file was not found: ";
inline constexpr char kFileUnreadable[] = "The file cannot be read: ";
inline constexpr char kFileUnwritable[] = "The file cannot be written: ";
inline constexpr char kUnknownVariable[] = "Unknown variable ";
inline constexpr char kCyclicDefinition[] = "Cyclic definition: ";
inline constexpr char kOutOfRange[] = " is out of its range ";
inline constexpr char kNoExport[] = "The input file has no $EXPORT line";
inline constexpr char kSecondExport[] = "The input file has more than one $EXPORT line";
inline constexpr char kPlotNotDeclared[] = "Plot window %d is not declared in ";
inline constexpr char kPlotFileType[] = "A plot file must end in .gif or .png: ";
inline constexpr char kPlotNoPoints[] = "Plot window %d has no point that can be drawn";

}  // namespace orv::solver
