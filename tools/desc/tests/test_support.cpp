#include "test_support.h"


namespace zelmot::desc::testing {

const std::vector<std::string>& descriptionFileNames() {
  static const std::vector<std::string> names = {"zelmot.tree.const", "parameters.zip", "zelmot.tree.zip",
                                                 "zelmot.tree.op.zip"};
  return names;
}

SmallModel smallModel() {
  SmallModel m;
  m.constants = R"(constants:
  nObj: 2
  nKey: 4
  maxSensors: 4
  n485Filter: 1
  nActP: 1
  nOutElem: 2
  n_commut: 1
  _NODE_QN: 10
  nZELCh: 4
  nProf: 2
  pStep: 5
  nDiskretInput: 2
)";
  m.parameters = R"(parameters:
  - name: dev
    type: ASCI
    readonly: true
  - name: ver
    type: ASCI
    readonly: true
  - name: exit
    type: ASCI
    readonly: true
  - name: n.Err
    type: DEC_dot
    readonly: true
  - name: in-t
    indexes: 0..3
    kind: 105
    caption: "Тип датчика входа №{n}"
    items: ["Отключен", "ТСМ_50М"]
    multiplicity: 1
  - name: SP
    indexes: 0..3
    caption: "Уставка {n}"
    type: STORED_DOT
    min: -100
    max: 100
  - name: rEAd
    indexes: 0..3
    type: STORED_DOT
    readonly: true
  - name: K.Fn
    indexes: 0..3
    kind: 112
    items: ["Нет", "Пуск"]
)";
  m.tree = R"(tree:
  branch: "Прибор"
  marker: 100
  items:
    - {param: dev}
    - {param: ver}
    - {param: exit}
    - {param: n.Err}
    - branch: "Вход {i+1}"
      repeat: 0..3
      items:
        - {param: in-t, index: i}
        - {param: SP, index: i}
        - link: {text1: "Вход", text2: "Регулятор", param: SP, number1: i, number2: 0}
)";
  m.treeOp = R"(tree:
  branch: "Оперативные параметры"
  items:
    - {param: rEAd, repeat: 0..3, index: i, caption: "Вход {i+1}"}
)";
  return m;
}

void writeModel(const std::filesystem::path& dir, const SmallModel& model) {
  test_support::writeWholeFile(dir / "constants.yaml", model.constants);
  test_support::writeWholeFile(dir / "parameters" / "params.yaml", model.parameters);
  test_support::writeWholeFile(dir / "tree.yaml", model.tree);
  test_support::writeWholeFile(dir / "tree_op.yaml", model.treeOp);
}

std::filesystem::path projectModelDir() { return std::filesystem::path(ZELMOT_SOURCE_DIR) / "model"; }

}  // namespace zelmot::desc::testing
