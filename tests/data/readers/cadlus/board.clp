CADLUS-PC REVERSE NET LIST   BOARD: TEST
NET NAME                 PINS
 GND                     U1-7 U2-7
                         C1-2
 VCC                     U1-14 U2-14 C1-1 R1-1
 N1                      U1-3 U2-1 R1-2
 N2                      U2-3 U1-1
