<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ko">
<context>
    <name>kuvar::TfKUVAR</name>
    <message>
        <source>KUVAR 통합프로그램 Ver2.6</source>
        <translation>KUVAR Integrated Program Ver2.6</translation>
    </message>
</context>
<context>
    <name>kuvar::modules::TGyPage</name>
    <message>
        <source>각도값</source>
        <translation>Angles</translation>
    </message>
    <message>
        <source>각속도값</source>
        <translation>Rates</translation>
    </message>
</context>
<context>
    <name>kuvar::protocol</name>
    <message>
        <source>센서 ID를 찾습니다. 센서가 1개만 연결되어 있습니까?</source>
        <translation>Searching for the sensor ID. Is only one sensor connected?</translation>
    </message>
    <message>
        <source>센서를 공장 출하 상태로 리셋하겠습니까?</source>
        <translation>Reset the sensor to its factory settings?</translation>
    </message>
    <message>
        <source>현재 Yaw각도를 0도로 하시겠습니까?</source>
        <translation>Make the present yaw angle 0 degrees?</translation>
    </message>
    <message>
        <source>센서 ID를 %1에서 %2로 변경하시겠습니까?</source>
        <translation>Change the sensor ID from %1 to %2?</translation>
    </message>
    <message>
        <source>센서 통신속도를 %1로 변경하시겠습니까?&#13;
변경 후 프로그램의 통신속도를 센서와 같게 하세요.</source>
        <translation>Change the sensor&apos;s baud rate to %1?&#13;
Afterwards, set the program&apos;s baud rate to the same.</translation>
    </message>
    <message>
        <source>센서 Full Scale를 %1로 변경하시겠습니까?</source>
        <translation>Change the sensor&apos;s full scale to %1?</translation>
    </message>
    <message>
        <source>센서 출력 간격을 %1로 변경하시겠습니까?</source>
        <translation>Change the sensor&apos;s output interval to %1?</translation>
    </message>
    <message>
        <source>센서 Mode를 %1로 변경하시겠습니까?</source>
        <translation>Change the sensor&apos;s mode to %1?</translation>
    </message>
    <message>
        <source>KUVAR-AC 제품이 아닙니다.</source>
        <translation>This is not a KUVAR-AC product.</translation>
    </message>
    <message>
        <source>KUVAR-GY 제품이 아닙니다.</source>
        <translation>This is not a KUVAR-GY product.</translation>
    </message>
</context>
</TS>
