#include "globals.h"

TForm1 *Form1 = nullptr;
TForm2 *Form2 = nullptr;
TForm3 *Form3 = nullptr;
TForm4 *Form4 = nullptr;
TForm5 *Form5 = nullptr;
TForm6 *Form6 = nullptr;
TForm18 *Form18 = nullptr;
TF_Converter *F_Converter = nullptr;
StockWindow *StockForm = nullptr;
SolverLauncher *Solver = nullptr;
ChartWindow *ChartForm = nullptr;
IonsWindow *IonsForm = nullptr;
