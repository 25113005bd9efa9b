#pragma once
// The generated layout the page benchmarks share: a large diagram's mix of items
// (inputs with name and units labels, drop-downs, outputs, labels, boxes, rules, check
// boxes, radio groups, pictures and plots) on a 10-column grid, with a calculate button.
// Pictures are named from the calculator fixture's IMGS folder (pump.gif, plot1.gif).
#include <string>

namespace orv::bench {

inline std::string generatedLayout(int items) {
  const std::string T = "\t";
  std::string text = "ORV Diagram Layout 3.0\r\nx\r\nx\r\nx\r\nx\r\nHEADER\r\na\r\nb\r\nc\r\n";
  for (int i = 0; i < items; ++i) {
    const std::string n = std::to_string(i);
    const std::string x = std::to_string(10 + (i % 10) * 65);
    const std::string y = std::to_string(30 + (i / 10) * 22);
    switch (i % 10) {
      case 0:
      case 1:
      case 2:
        text += "INPUT" + T + "In" + n + T + "kg/s" + T + "1" + T + "1" + T + "1.5" + T + "0" +
                T + "1e6" + T + "F3" + T + x + T + y + T + "60" + T + "16" + T + "16" + T + "0" +
                T + "1" + T + "0\r\n";
        break;
      case 3:
        text += "DROPDOWN" + T + "Dd" + n + "$" + T + T + "1" + T + "0" + T + "3" + T + "0" + T +
                x + T + y + T + "60" + T + "16" + T + "15" + T + "2" + T + "0" + T +
                "0\r\nSteel//k=45\r\nCopper//k=398\r\nAluminium//k=237\r\n";
        break;
      case 4:
      case 5:
        text += "OUTPUT" + T + "Out" + n + T + "kW" + T + "1" + T + "1" + T + T + "A4" + T + x +
                T + y + T + "60" + T + "18" + T + "16" + T + "0" + T + "0" + T + "32768\r\n";
        break;
      case 6:
        text += "LABEL" + T + "Label number " + n + T + x + T + y + T + "60" + T + "18" + T +
                "13" + T + "0" + T + "1" + T + "0\r\n";
        break;
      case 7:
        text +=
            (i % 20 == 7 ? "BOX" + T + x + T + y + T + "60" + T + "18" + T + "15790320" + T +
                               "0" + T + "box\r\n"
                         : "RULE" + T + x + T + y + T + "60" + T + "0" + T + "2" + T + "0\r\n");
        break;
      case 8:
        text += (i % 20 == 8
                     ? "CHECKBOX" + T + "Option " + n + T + x + T + y + T + "60" + T + "18" + T +
                           "10" + T + "Arial" + T + "0" + T + "0\r\nA=1\r\n--\r\nA=0\r\n<>\r\n"
                     : "RADIO" + T + x + T + y + T + "60" + T + "40" + T + "2" + T + "1" + T +
                           "10" + T + "Arial" + T + "0" + T +
                           "0\r\nOn\r\nOff\r\nR=1\r\n<>\r\nR=0\r\n<>\r\n");
        break;
      case 9:
        text += (i % 20 == 9 ? "IMG" + T + "pump.gif" + T + x + T + y + "\r\n"
                             : "PLOT" + T + "1" + T + "plot1.gif" + T + x + T + y + "\r\n");
        break;
    }
  }
  text += "CALCBUTTON" + T + "Calculate" + T + "20" + T + "500" + T + "90" + T + "25\r\n";
  return text;
}

}  // namespace orv::bench
