#include "driver_load/widgets/driver_chart_designs.h"

#include "driver_load/widgets/driver_window_menus.h"

const std::array<DriverChartDesign, driverChartCount> driverChartDesigns{{
    {{"LevelChart", "Уровень звукового давления", "Уровень, дБ (1 м)", nullptr, 40},
     "Уровень звукового давления от частоты",
     "Уровень в дБ на расстоянии 1 м в полупространстве при мощности P в Re: при Rвых = 0, при "
     "Rвых усилителя и, при заданном нагреве, при Rвых усилителя с нагретой катушкой."},
    {{"HighestLevelChart", "Наибольший уровень", "Уровень, дБ (1 м)", nullptr, 50, 10},
     "Наибольший уровень от частоты",
     "Наибольший уровень в дБ на расстоянии 1 м при Rвых усилителя, до которого можно поднять "
     "громкость, пока не наступит первый предел: смещение Xmax, мощность Pe в катушке, "
     "напряжение Uмакс или ток Iмакс ОУ; и уровень, который допускает каждый предел."},
    {{"ExcursionChart", "Смещение диффузора", "Смещение (пик), мм", nullptr, 0},
     "Смещение диффузора от частоты",
     "Пиковое смещение диффузора в мм при Rвых усилителя и Xmax."},
    {{"ImpedanceChart", "Импеданс динамика", "|Z|, Ом", "Фаза, °", 0},
     "Импеданс динамика от частоты",
     "Модуль импеданса в Ом по оси слева и его фаза в градусах по оси справа."},
    {{"AmplifierChart", "Что отдаёт усилитель", "Напряжение (ампл.), В", "Ток, А; мощность, Вт", 0},
     "Напряжение, ток и мощность в Rт от частоты",
     "Амплитуда напряжения на выходе ОУ в В по оси слева; амплитуда тока в А и мощность в Rт в "
     "Вт по оси справа."},
}};

namespace {

constexpr std::size_t highestChart = 1, excursionChart = 2;

const std::array<DriverChartDesign, 2> ventedDesigns{{
    {driverChartDesigns[highestChart].chart, "Наибольший уровень от частоты",
     "Наибольший уровень в дБ на расстоянии 1 м при Rвых усилителя, до которого можно поднять "
     "громкость, пока не наступит первый предел: смещение Xmax, мощность Pe в катушке, "
     "напряжение Uмакс или ток Iмакс ОУ, скорость воздуха в порту 17 м/с; и уровень, который "
     "допускает каждый предел."},
    {{"ExcursionChart", "Смещение и скорость в порту", "Смещение (пик), мм",
      "Скорость в порту, м/с", 0},
     "Смещение диффузора и скорость воздуха в порту от частоты",
     "Пиковое смещение диффузора в мм при Rвых усилителя и Xmax по оси слева; пиковая скорость "
     "воздуха в порту в м/с и её предел 17 м/с (5 % скорости звука) по оси справа."},
}};

} // namespace

const DriverChartDesign &driverChartDesign(std::size_t chart, BoxKind box) {
    if (box == BoxKind::Vented && (chart == highestChart || chart == excursionChart))
        return ventedDesigns[chart - highestChart];
    return driverChartDesigns[chart];
}

QString restingDescription(const DriverChartDesign &design, const ChartLines *lines) {
    QString text = design.description;
    if (lines)
        text += " " + QString::fromStdString(chartLinesDescription(*lines));
    return text +
           "\nПодсказка под графиком, при указателе мыши над ним, а в фокусе клавиши влево и "
           "вправо, называют частоту и значения всех кривых.\n" +
           DriverWindowMenus::hint();
}
