// Late binding: members reached by dispatch identifier, argument coercion and the automation
// errors for misuse.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "testfiles.h"
#include "txini/clsini.h"
#include "txini/dispatch.h"

using txini::DispatchError;
using txini::DispatchKind;
using txini::invokeClsIni;
using txini::Variant;
namespace dispid = txini::dispid;

namespace {

// Records each call as text and answers with values that tell the members apart.
class RecordingIni : public txini::_clsIni
{
public:
    std::vector<std::string> calls;

    std::string getLeerClave(const std::string &pNombreSeccion, int16_t pNro) override
    {
        return record("getLeerClave(" + pNombreSeccion + "," + std::to_string(pNro) + ")");
    }
    void doAdd(const std::string &pSeccion, const std::string &pClave,
               const std::string &pValor) override
    {
        record("doAdd(" + pSeccion + "," + pClave + "," + pValor + ")");
    }
    void doDelete(const std::string &pSeccion, const std::string &pClave) override
    {
        record("doDelete(" + pSeccion + "," + pClave + ")");
    }
    void doSeleccionarArchivo(int32_t phWnd) override
    {
        record("doSeleccionarArchivo(" + std::to_string(phWnd) + ")");
    }
    std::string getLeerValor(const std::string &pSeccion, const std::string &pClave) override
    {
        return record("getLeerValor(" + pSeccion + "," + pClave + ")");
    }
    std::string getLeerSeccion(int16_t pNro) override
    {
        return record("getLeerSeccion(" + std::to_string(pNro) + ")");
    }
    std::string File() const override { return m_file; }
    void File(const std::string &vNewValue) override
    {
        record("File=" + vNewValue);
        m_file = vNewValue;
    }
    bool getExisteSeccion(const std::string &pNombreSeccion) override
    {
        record("getExisteSeccion(" + pNombreSeccion + ")");
        return true;
    }
    bool getExisteClave(const std::string &pNombreSeccion, const std::string &pNombreClave) override
    {
        record("getExisteClave(" + pNombreSeccion + "," + pNombreClave + ")");
        return true;
    }
    bool getExisteValor(const std::string &pNombreSeccion, const std::string &pNombreClave) override
    {
        record("getExisteValor(" + pNombreSeccion + "," + pNombreClave + ")");
        return false;
    }
    int16_t getCantidadSecciones() override
    {
        record("getCantidadSecciones()");
        return 12;
    }
    int16_t getCantidadClaves(const std::string &pNombreSeccion) override
    {
        record("getCantidadClaves(" + pNombreSeccion + ")");
        return 34;
    }

private:
    std::string record(const std::string &pCall)
    {
        calls.push_back(pCall);
        return "<" + pCall + ">";
    }

    std::string m_file = "initial.ini";
};

struct CallRow
{
    const char *name;
    int32_t id;
    DispatchKind kind;
    std::vector<Variant> args;
    std::string expectedCall; // empty: no member call recorded
    Variant expectedResult;
    friend void PrintTo(const CallRow &pRow, std::ostream *pOut) { *pOut << pRow.name; }
};

class DispatchCalls : public ::testing::TestWithParam<CallRow>
{
};

TEST_P(DispatchCalls, ReachTheMemberWithCoercedArguments)
{
    RecordingIni object;
    const CallRow &row = GetParam();
    const Variant result = invokeClsIni(object, row.id, row.kind, row.args);
    EXPECT_EQ(object.calls,
              row.expectedCall.empty() ? std::vector<std::string>{}
                                       : std::vector<std::string>{row.expectedCall});
    EXPECT_EQ(result, row.expectedResult);
}

const auto M = DispatchKind::Method;
Variant v(const char *p)
{
    return std::string(p);
}
Variant i16(int16_t p)
{
    return p;
}
Variant i32(int32_t p)
{
    return p;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DispatchCalls,
    ::testing::Values(
        CallRow{"LeerClave",
                dispid::getLeerClave,
                M,
                {v("S"), i16(2)},
                "getLeerClave(S,2)",
                v("<getLeerClave(S,2)>")},
        CallRow{"LeerClaveFromLong",
                dispid::getLeerClave,
                M,
                {v("S"), i32(3)},
                "getLeerClave(S,3)",
                v("<getLeerClave(S,3)>")},
        CallRow{"LeerClaveFromNumericText",
                dispid::getLeerClave,
                M,
                {v("S"), v(" -4 ")},
                "getLeerClave(S,-4)",
                v("<getLeerClave(S,-4)>")},
        CallRow{"LeerClaveFromTrue",
                dispid::getLeerClave,
                M,
                {v("S"), Variant(true)},
                "getLeerClave(S,-1)",
                v("<getLeerClave(S,-1)>")},
        CallRow{"Add", dispid::doAdd, M, {v("S"), v("k"), v("v")}, "doAdd(S,k,v)", Variant()},
        CallRow{"DeleteSectionOnly", dispid::doDelete, M, {v("S")}, "doDelete(S,)", Variant()},
        CallRow{"DeleteKey", dispid::doDelete, M, {v("S"), v("k")}, "doDelete(S,k)", Variant()},
        CallRow{"DeleteEmptyVariantKey",
                dispid::doDelete,
                M,
                {v("S"), Variant()},
                "doDelete(S,)",
                Variant()},
        CallRow{"Seleccionar",
                dispid::doSeleccionarArchivo,
                M,
                {i32(70000)},
                "doSeleccionarArchivo(70000)",
                Variant()},
        CallRow{"LeerValor",
                dispid::getLeerValor,
                M,
                {v("S"), v("k")},
                "getLeerValor(S,k)",
                v("<getLeerValor(S,k)>")},
        CallRow{"LeerSeccion",
                dispid::getLeerSeccion,
                M,
                {i16(1)},
                "getLeerSeccion(1)",
                v("<getLeerSeccion(1)>")},
        CallRow{"FileGet", dispid::File, DispatchKind::PropertyGet, {}, "", v("initial.ini")},
        CallRow{"FilePut",
                dispid::File,
                DispatchKind::PropertyPut,
                {v(" x.ini")},
                "File= x.ini",
                Variant()},
        CallRow{"ExisteSeccion",
                dispid::getExisteSeccion,
                M,
                {v("S")},
                "getExisteSeccion(S)",
                Variant(true)},
        CallRow{"ExisteClave",
                dispid::getExisteClave,
                M,
                {v("S"), v("k")},
                "getExisteClave(S,k)",
                Variant(true)},
        CallRow{"ExisteValor",
                dispid::getExisteValor,
                M,
                {v("S"), v("k")},
                "getExisteValor(S,k)",
                Variant(false)},
        CallRow{"CantidadSecciones",
                dispid::getCantidadSecciones,
                M,
                {},
                "getCantidadSecciones()",
                i16(12)},
        CallRow{"CantidadClaves",
                dispid::getCantidadClaves,
                M,
                {v("S")},
                "getCantidadClaves(S)",
                i16(34)}),
    [](const auto &pInfo) { return std::string(pInfo.param.name); });

struct ErrorRow
{
    const char *name;
    int32_t id;
    DispatchKind kind;
    std::vector<Variant> args;
    uint32_t expectedCode;
    friend void PrintTo(const ErrorRow &pRow, std::ostream *pOut) { *pOut << pRow.name; }
};

class DispatchErrors : public ::testing::TestWithParam<ErrorRow>
{
};

TEST_P(DispatchErrors, ThrowTheAutomationCodeWithoutCallingTheMember)
{
    RecordingIni object;
    const ErrorRow &row = GetParam();
    try {
        invokeClsIni(object, row.id, row.kind, row.args);
        ADD_FAILURE() << "no error";
    } catch (const DispatchError &error) {
        EXPECT_EQ(error.code(), row.expectedCode) << error.what();
    }
    EXPECT_TRUE(object.calls.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DispatchErrors,
    ::testing::Values(
        ErrorRow{"UnknownId", 0x60030006, M, {}, txini::kDispMemberNotFound},
        ErrorRow{"FileAsMethod", dispid::File, M, {}, txini::kDispMemberNotFound},
        ErrorRow{"MethodAsProperty",
                 dispid::getLeerValor,
                 DispatchKind::PropertyGet,
                 {v("S"), v("k")},
                 txini::kDispMemberNotFound},
        ErrorRow{"TooFew", dispid::doAdd, M, {v("S"), v("k")}, txini::kDispBadParamCount},
        ErrorRow{
            "TooMany", dispid::doDelete, M, {v("S"), v("k"), v("x")}, txini::kDispBadParamCount},
        ErrorRow{"FileGetWithArgument",
                 dispid::File,
                 DispatchKind::PropertyGet,
                 {v("x")},
                 txini::kDispBadParamCount},
        ErrorRow{"FilePutWithoutArgument",
                 dispid::File,
                 DispatchKind::PropertyPut,
                 {},
                 txini::kDispBadParamCount},
        ErrorRow{
            "NumberForString", dispid::getLeerValor, M, {i16(1), v("k")}, txini::kDispTypeMismatch},
        ErrorRow{"BoolForString",
                 dispid::getExisteSeccion,
                 M,
                 {Variant(true)},
                 txini::kDispTypeMismatch},
        ErrorRow{
            "TextForInteger", dispid::getLeerSeccion, M, {v("first")}, txini::kDispTypeMismatch},
        ErrorRow{
            "FractionForInteger", dispid::getLeerSeccion, M, {v("1.5")}, txini::kDispTypeMismatch},
        ErrorRow{
            "LongBeyondInteger", dispid::getLeerSeccion, M, {i32(32768)}, txini::kDispOverflow},
        ErrorRow{"TextBeyondLong",
                 dispid::doSeleccionarArchivo,
                 M,
                 {v("2147483648")},
                 txini::kDispOverflow}),
    [](const auto &pInfo) { return std::string(pInfo.param.name); });

TEST(DispatchOnTheStore, WritesAndReadsAFile)
{
    txini::test::TempDir dir;
    txini::clsIni ini;
    const std::string file = dir.file("late.ini");

    invokeClsIni(ini, dispid::File, DispatchKind::PropertyPut, {file});
    EXPECT_EQ(invokeClsIni(ini, dispid::File, DispatchKind::PropertyGet, {}), Variant(file));
    invokeClsIni(ini, dispid::doAdd, DispatchKind::Method, {v("S"), v("k"), v(" value ")});
    EXPECT_EQ(invokeClsIni(ini, dispid::getLeerValor, DispatchKind::Method, {v("S"), v("k")}),
              v("value"));
    EXPECT_EQ(invokeClsIni(ini, dispid::getCantidadSecciones, DispatchKind::Method, {}), i16(1));
    EXPECT_EQ(invokeClsIni(ini, dispid::getLeerSeccion, DispatchKind::Method, {v("1")}), v("S"));
}

} // namespace
