; Bracket BRACKET-7, revision B: a part program for the simulated measuring host.
; Side A: two bores located in X, Y and diameter, a threaded hole held by true position and
; a dowel bore; then the operator turns the part over, the live display switches to the
; slide show of side B, and a small bore, the angle of the bent leg and the flatness of the
; mounting face follow. BIAS and SIGMA make results stray into warning now and then.
BLOCK PartProgram
	PARTNAME=BRACKET-7
	REVISION=B
	SERIAL=0001
	SEED=42
	BLOCK Dimension
		TYPE=1000
		ID=LOC1
	END
	BLOCK Dimension
		TYPE=1002
		AXIS=X
		NOMINAL=25
		PLUSTOL=0.05
		MINUSTOL=0.05
		BIAS=0.005
		SIGMA=0.012
	END
	BLOCK Dimension
		TYPE=1003
		AXIS=Y
		NOMINAL=40
		PLUSTOL=0.05
		MINUSTOL=0.05
		BIAS=-0.004
		SIGMA=0.012
	END
	BLOCK Dimension
		TYPE=1005
		AXIS=D
		NOMINAL=12
		PLUSTOL=0.02
		MINUSTOL=0.02
		BIAS=0.006
		SIGMA=0.006
	END
	BLOCK Dimension
		TYPE=1001
	END
	BLOCK Dimension
		TYPE=1000
		ID=LOC2
	END
	BLOCK Dimension
		TYPE=1002
		AXIS=X
		NOMINAL=75
		PLUSTOL=0.05
		MINUSTOL=0.05
		BIAS=0.01
		SIGMA=0.015
	END
	BLOCK Dimension
		TYPE=1003
		AXIS=Y
		NOMINAL=40
		PLUSTOL=0.05
		MINUSTOL=0.05
		BIAS=0
		SIGMA=0.012
	END
	BLOCK Dimension
		TYPE=1005
		AXIS=D
		NOMINAL=12
		PLUSTOL=0.02
		MINUSTOL=0.02
		BIAS=-0.004
		SIGMA=0.006
	END
	BLOCK Dimension
		TYPE=1001
	END
	BLOCK Dimension
		TYPE=1200
		ID=TP1
	END
	BLOCK Dimension
		TYPE=1202
		AXIS=X
		NOMINAL=50
		PLUSTOL=0.05
		MINUSTOL=0.05
		BIAS=0.012
		SIGMA=0.01
	END
	BLOCK Dimension
		TYPE=1203
		AXIS=Y
		NOMINAL=20
		PLUSTOL=0.05
		MINUSTOL=0.05
		BIAS=-0.01
		SIGMA=0.01
	END
	BLOCK Dimension
		TYPE=1209
		AXIS=TP
		NOMINAL=0
		PLUSTOL=0.1
		MINUSTOL=0
		BIAS=0.04
		SIGMA=0.012
	END
	BLOCK Dimension
		TYPE=1201
	END
	BLOCK Dimension
		TYPE=1111
		ID=DIA1
		AXIS=D
		NOMINAL=8
		PLUSTOL=0.01
		MINUSTOL=0.01
		BIAS=0.002
		SIGMA=0.004
	END
	BLOCK Status
		TEXT=Probe T1A0B0 selected
	END
	BLOCK Comment
		KIND=1
		LINE=Turn the part over.
		LINE=Then press Continue.
	END
	BLOCK Prompt
		TEXT=Turn the part over, clamp it and press Continue.
	END
	BLOCK Assignment
		VARIABLE=ZEP_SLIDESHOW
		VALUE=LN|BRACKET-B.ZEP
	END
	BLOCK Dimension
		TYPE=1111
		ID=DIA2
		AXIS=D
		NOMINAL=6
		PLUSTOL=0.01
		MINUSTOL=0.01
		BIAS=-0.003
		SIGMA=0.004
	END
	BLOCK Dimension
		TYPE=1108
		ID=ANG1
		AXIS=A
		NOMINAL=90
		PLUSTOL=0.5
		MINUSTOL=0.5
		BIAS=0.1
		SIGMA=0.15
	END
	BLOCK Dimension
		TYPE=1102
		ID=FLAT1
		AXIS=M
		NOMINAL=0
		PLUSTOL=0.02
		MINUSTOL=0
		BIAS=0.011
		SIGMA=0.003
	END
END
