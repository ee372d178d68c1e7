// Control ids of the fluid data page (dialog resource IDD_PAGE_FLUID).
#pragma once

#include "TAMBEL/Resource.h"

// Customer and order.
constexpr int IDC_CUSTOMER = 1041;
constexpr int IDC_TAG_NO = 1042;
constexpr int IDC_REFERENCE = 1043;
constexpr int IDC_PA_NO = 1059;
constexpr int IDC_VK_NO = 1058;
constexpr int IDC_POS = 1238;

// Fluid.
constexpr int IDC_STATE = 1001;
constexpr int IDC_MEDIUM = 1016;
constexpr int IDC_SATURATION_MODE = 1019;
constexpr int IDC_HUMIDITY = 1017;
constexpr int IDC_FLUID_NAME = 1002;
constexpr int IDC_GAS_MIX = 1060;

// Operating point.
constexpr int IDC_TEMPERATURE_MIN = 1012;
constexpr int IDC_TEMPERATURE_MAX = 1013;
constexpr int IDC_TEMPERATURE = 1004;
constexpr int IDC_TEMPERATURE_UNIT = 1005;
constexpr int IDC_PRESSURE_MIN = 1022;
constexpr int IDC_PRESSURE_MAX = 1014;
constexpr int IDC_PRESSURE = 1006;
constexpr int IDC_PRESSURE_UNIT = 1007;
constexpr int IDC_PRESSURE_REFERENCE = 1015;
constexpr int IDC_DENSITY = 1008;
constexpr int IDC_DENSITY_UNIT = 1009;
constexpr int IDC_CONVERT_TO_NORM = 1246;
constexpr int IDC_VISCOSITY = 1010;
constexpr int IDC_VISCOSITY_UNIT = 1011;
constexpr int IDC_COMPRESSIBILITY = 1057;

// Converted values.
constexpr int IDC_TEMPERATURE_CALC = 1023;
constexpr int IDC_TEMPERATURE_CALC_UNIT = 1039;
constexpr int IDC_PRESSURE_CALC = 1024;
constexpr int IDC_PRESSURE_CALC_UNIT = 1040;
constexpr int IDC_PRESSURE_CALC_REFERENCE = 1029;
constexpr int IDC_DENSITY_CALC = 1025;
constexpr int IDC_DENSITY_CALC_UNIT = 1034;
constexpr int IDC_VISCOSITY_CALC = 1026;
constexpr int IDC_VISCOSITY_CALC_UNIT = 1038;
constexpr int IDC_QMAX_CALC = 1032;
constexpr int IDC_FLOW_CALC_TYPE = 1028;
constexpr int IDC_FLOW_CALC_REFERENCE = 1056;
constexpr int IDC_FLOW_CALC_UNIT = 1031;

// Flow.
constexpr int IDC_FLOW_TYPE = 1018;
constexpr int IDC_FLOW_REFERENCE = 1055;
constexpr int IDC_QMAX = 1020;
constexpr int IDC_QMAX_UNIT = 1021;

// Norm flow conditions.
constexpr int IDC_NORM_SYSTEM = 1054;
constexpr int IDC_NORM_TEMPERATURE = 1047;
constexpr int IDC_NORM_TEMPERATURE_UNIT = 1048;
constexpr int IDC_NORM_PRESSURE = 1049;
constexpr int IDC_NORM_PRESSURE_UNIT = 1050;
constexpr int IDC_NORM_PRESSURE_REFERENCE = 1051;
constexpr int IDC_NORM_DENSITY = 1052;
constexpr int IDC_NORM_DENSITY_UNIT = 1053;
constexpr int IDC_CONVERT_TO_OPERATIONAL = 1245;

// Lines (IDC_HLINE1 and IDC_VLINE1, which the results page shares, come from Resource.h).
constexpr int IDC_HLINE2 = 1035;
constexpr int IDC_HLINE3 = 1045;
constexpr int IDC_HLINE4 = 1046;

// Labels that come and go with the fluid's Type.
constexpr int IDC_FLUID_NAME_LBL = 1100;
constexpr int IDC_MEDIUM_LBL = 1101;
constexpr int IDC_HUMIDITY_LBL = 1102;
constexpr int IDC_SATURATION_MODE_LBL = 1103;
constexpr int IDC_COMPRESSIBILITY_LBL = 1104;

// Headings and the other labels (ids so that they can be translated).
constexpr int IDC_CUSTOMER_HEADING_LBL = 1110;
constexpr int IDC_PA_NO_LBL = 1114;
constexpr int IDC_VK_NO_LBL = 1115;
constexpr int IDC_TEMPERATURE_LBL = 1125;
constexpr int IDC_PRESSURE_LBL = 1126;
constexpr int IDC_DENSITY_LBL = 1127;
constexpr int IDC_VISCOSITY_LBL = 1128;
constexpr int IDC_QMAX_LBL = 1131;
constexpr int IDC_NORM_TEMPERATURE_LBL = 1134;
constexpr int IDC_NORM_PRESSURE_LBL = 1135;
constexpr int IDC_NORM_DENSITY_LBL = 1136;
constexpr int IDC_FLUID_LBL = 1117;
constexpr int IDC_CONVERTED_LBL = 1118;
constexpr int IDC_FLOW_LBL = 1129;
constexpr int IDC_NORM_FLOW_LBL = 1132;
