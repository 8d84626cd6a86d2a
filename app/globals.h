#pragma once

// One instance of every window, created at start-up in this order and kept until the end.
class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TForm18;
class TF_Converter;
class StockWindow;
class SolverLauncher;
class ChartWindow;
class IonsWindow;

extern TForm1 *Form1;
extern TForm2 *Form2;
extern TForm3 *Form3;
extern TForm4 *Form4;
extern TForm5 *Form5;
extern TForm6 *Form6;
extern TForm18 *Form18;
extern TF_Converter *F_Converter;
// Beside the eight: the stock tanks' window and the opener of "Подбор состава", created after
// them, and "Диаграмма" and "Ионный состав", created the first time each is asked for.
extern StockWindow *StockForm;
extern SolverLauncher *Solver;
extern ChartWindow *ChartForm;
extern IonsWindow *IonsForm;
