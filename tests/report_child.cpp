// A child process for the test of the run-time error report: it reports one
// failed operation, as the program does.
#include "error_report.h"

int main() { zorvin::app::ReportRunTimeError(L"Form1.Text1: set text"); }
