#pragma once

// Identifiers shared by the resource script and the code. Plain #defines only: the resource
// compiler reads this file too.

// Icon group of the program (the lowest id, so the shell shows it for the program file).
#define IDI_MORVANE 1

// Dialog templates of the two windows.
#define IDD_FORM1 101
#define IDD_FORM2 102

// Picture drawn at the top left of the instructions window.
#define IDB_INSTRUCTIONS 201

// Child windows of the main window. Kept clear of IDOK and IDCANCEL, which the dialog manager
// sends for Enter and Escape.
#define IDC_FRAME2 1000
#define IDC_COMMAND1 1001
#define IDC_COMMAND2 1002
#define IDC_COMMAND3 1003
#define IDC_COMMAND4 1004
